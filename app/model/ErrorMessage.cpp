#include "ErrorMessage.h"

#include "BackupError.h"
#include "BackupFolder.h"
#include "FileError.h"
#include "StoreError.h"

QString errorMessage(const std::exception &error)
{
    // These keep English in what() for the log and the user's text apart.
    if (const auto *folder = dynamic_cast<const BackupFolder::FolderError *>(&error))
        return folder->message();
    if (const auto *file = dynamic_cast<const FileError *>(&error))
        return file->message();
    if (const auto *store = dynamic_cast<const StoreError *>(&error))
        return store->userMessage();
    if (const auto *backup = dynamic_cast<const Backup::BackupError *>(&error))
        return backup->message();
    return QString::fromUtf8(error.what());
}

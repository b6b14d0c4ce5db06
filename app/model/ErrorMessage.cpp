#include "ErrorMessage.h"

#include "BackupFolder.h"

QString errorMessage(const std::exception &error)
{
    // Its what() is the English text for logs; message() is the user's.
    if (const auto *folder = dynamic_cast<const BackupFolder::FolderError *>(&error))
        return folder->message();
    return QString::fromUtf8(error.what());
}

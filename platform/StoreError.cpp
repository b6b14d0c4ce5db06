#include "StoreError.h"

#include <QCoreApplication>

QString StoreError::userMessage() const
{
    return m_userMessage.isEmpty() ? QCoreApplication::translate("StoreError", "无法读取或保存收藏库")
                                   : m_userMessage;
}

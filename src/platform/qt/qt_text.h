#pragma once
// The one place where the system's GBK text meets Qt's Unicode strings.
#include <QString>
#include <string>
#include <string_view>

#include "platform/text.h"

namespace platform {

inline QString ToQString(std::string_view gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }
inline std::string FromQString(const QString& s) { return Utf8ToGbk(s.toStdString()); }

}  // namespace platform

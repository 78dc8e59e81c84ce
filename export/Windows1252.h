#pragma once
// The database and the output files hold single-byte Windows-1252 text; the program's own texts are UTF-8.
#include <QString>
#include <string>
#include <string_view>

namespace lrf {

QString FromWindows1252(std::string_view bytes);
// Characters without a Windows-1252 byte become "?".
std::string ToWindows1252(const QString& text);

// An error's what() as text: UTF-8 when it reads as such (the program's own texts), otherwise the
// Windows-1252 bytes of the database that the driver put in it.
QString ErrorMessageText(const char* what);

} // namespace lrf

#pragma once
// The output folder text: file names are written straight after it, so it must end with the separator.
#include <QString>

namespace lrf {

// The text with the folder separator appended when, without its surrounding blanks, it does not end
// with one. The blanks are kept as typed; an empty text becomes the separator alone.
QString WithFinalSeparator(const QString& folderText);

} // namespace lrf

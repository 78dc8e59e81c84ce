#pragma once
// Top-level windows placed as they were drawn: centred on their screen by the outer frame, and, where a
// size is given as an outer one, of that size frame included. A window manager tells the frame only
// once the window is shown, so the placement is made again as soon as the frame is known.
#include <QSize>
#include <optional>

class QWidget;

namespace lrf {

// Places `window` now (no frame known yet) and again when its frame becomes known after it is shown.
void PlaceByFrame(QWidget& window, std::optional<QSize> outerSize = std::nullopt);

} // namespace lrf

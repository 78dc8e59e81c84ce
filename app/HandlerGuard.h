#pragma once
// The one route for an error that a handler of a window does not catch itself: the error box under the
// application title, after which the window goes on taking input.
#include "export/Windows1252.h" // ErrorMessageText, for every handler

#include <QString>
#include <functional>

namespace lrf {

// "LRF - TCE-MT": the caption of the error box and of the program's own message boxes.
QString ApplicationTitle();

// The error box's text: the message, with "." appended when its last character sorts after ".".
QString ErrorBoxText(const QString& message);
// `detail`, when given, is the box's detailed text: why, beside the message.
void ShowErrorBox(const QString& message, const QString& detail = {});

// Runs `handler`; an exception leaving it goes to the error box (a failed query with its file's name in
// the detailed text).
void RunHandler(const std::function<void()>& handler) noexcept;

// A handler wrapped for connect(): connect(button, &QPushButton::clicked, this, Guarded(this, &W::Click)).
template <class Window> auto Guarded(Window* window, void (Window::*handler)()) {
    return [window, handler] { RunHandler([window, handler] { (window->*handler)(); }); };
}

} // namespace lrf

#pragma once
// Laying out the captioned boxes of the Vendor page: a captioned control places its
// caption label itself, to its left (CaptionLeft); a row keeps that room free for it.

#include <QString>

class QBoxLayout;
class QWidget;

namespace stallmark {

// The width of the value boxes at the bottom of the charged items and treasure map
// boxes; the page puts their Delete and Send buttons right of them.
inline constexpr int kValueBoxWidth = 80;

// Gives control (a TEditLabel or TComboBoxSig) its caption, as wide as the caption's text
// needs, and adds it to row after the room its caption takes. An empty caption takes no room.
void AddCaptioned(QBoxLayout& row, QWidget* control, const QString& caption, int stretch);

}  // namespace stallmark

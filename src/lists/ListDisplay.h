#pragma once
// Each list's own font, text and background colours and grid lines, kept
// in the settings under the list's identifier followed by a suffix.

#include <QColor>
#include <QFont>
#include <QString>

namespace stallmark {

class SettingsStore;
class TStringGrid;

struct ListInfo {
    int number;              // 1 to 11
    const char* identifier;  // prefix of the settings values
    const char* caption;     // the dialog's caption
    bool hasGridLines;
};

inline constexpr int kListCount = 11;
// The lists by number (index 0 is list 1).
const ListInfo& ListByNumber(int number);

// Colours are stored as 24-bit values with red in the low byte, or as a
// system colour: the top bit set and the colour's index in the low byte.
inline constexpr int kClWindowText = static_cast<int>(0x80000008u);
inline constexpr int kClWhite = 0xFFFFFF;
QColor ColourFromValue(int value);
int ValueFromColour(const QColor& colour);

struct ListDisplay {
    int textColour = kClWindowText;
    int backColour = kClWhite;
    bool lineCols = true;  // " LineCol": horizontal lines between rows
    bool lineRows = true;  // " LineRow": vertical lines between columns
    QString fontName = QStringLiteral("Small Fonts");
    int fontSize = 7;  // points, 2 to 200

    QColor Text() const { return ColourFromValue(textColour); }
    QColor Back() const { return ColourFromValue(backColour); }
    // The font, with a fallback family where the named one is not installed.
    QFont Font() const;
};

// The font size held to 2 .. 200 points.
int FontSizeOf(const ListDisplay& display);
// A list grid takes the text and background colours, the font and the grid lines.
void ApplyGridDisplay(TStringGrid& grid, const ListDisplay& display);
// A list's description label takes the font's name and size, and the height of the
// font size + 5.
void ApplyLabelFont(QWidget& label, const ListDisplay& display);

// Reads one list's values; a missing value reads as the given default.
ListDisplay LoadListDisplay(SettingsStore& settings, int number, const ListDisplay& defaults = {});
void SaveListDisplay(SettingsStore& settings, int number, const ListDisplay& display);

}  // namespace stallmark

#pragma once
// The program's own pictures, drawn in code for it: the button pictures, the
// nine ore ingots, the state pictures of the bulk order trees and the
// application icon. The lists are made once, on first use (after the
// QApplication exists).

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <vector>

namespace stallmark {

// A list of equally sized pictures, numbered from 0.
class ImageList {
public:
    ImageList(int width, int height, std::vector<QImage> images);
    int Count() const { return static_cast<int>(images_.size()); }
    int Width() const { return width_; }
    int Height() const { return height_; }
    QImage Image(int index) const;  // null when out of range
    QPixmap Pixmap(int index) const;
    QIcon Icon(int index) const;

private:
    int width_;
    int height_;
    std::vector<QImage> images_;
};

// Picture numbers of ImageList_Btn, used as the tag of a tool button.
struct BtnImage {
    enum : int {
        Save = 0,
        Delete,
        Edit,
        Sold,
        Send,
        List,
        Reset,
        Search,
        New,
        AutoOn,
        AutoOff,
        Ok,
        Cancel,
        Repeat,
        Pause,
        Play,
        Stop,
        SpecialChar,
        Options,
        Up,
        Down,
        Clear,
        Add,
        Sort,
        EditList,
        NewLarge,
        ListToGame,
        Timer,
        Count,
        Quantity,
        Help,
        Exit,
        Copy,
        Open,
        Font,
        Colour,
        BlackPearl,
        BloodMoss,
        Garlic,
        Ginseng,
        Mandrake,
        Nightshade,
        SpidersSilk,
        SulfurousAsh,
        ImageCount
    };
};

// State pictures of ImageList_16x16.
struct StateImage {
    enum : int { None = 0, GreenTick = 1, RedCross = 2, GreyTick = 3, ImageCount };
};

// Button pictures, 32 x 16: the normal picture and its disabled look side by side.
const ImageList& ImageList_Btn();
// Nine 16 x 16 ingots in ore order: Iron, Dull-Copper, Shadow, Copper, Bronze,
// Gold, Agapite, Verite, Valorite.
const ImageList& ImageList_Ingot();
// 16 x 16: 0 empty, 1 green tick, 2 red cross, 3 grey tick.
const ImageList& ImageList_16x16();
// The application icon in several sizes (16 to 256).
QIcon AppIcon();
QImage AppIconImage(int size);

// The classic disabled look of a picture: its dark parts grey with a white
// shadow, its light parts dropped.
QImage MakeDisabled(const QImage& image);

}  // namespace stallmark

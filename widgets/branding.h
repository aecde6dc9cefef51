// Start-up branding of a program's main panel: a banner colour, the position
// (and perhaps a bitmap) of the logo picture, and one to four text lines, the
// first of them the program's title. Each program passes its own table
// (brandingtables.h) and its compiled-in variant.
#pragma once

#include <QString>
#include <vector>

class QLabel;
class QWidget;

namespace tarvo {

struct InfoTextLine {
    QString text;
    int style = 2;  // 1 grey on white, 2 black on white, 3 white on transparent
    int left = 0;
    int top = 0;
    int size = 10;  // point size
};

struct BrandingRow {
    int bannerColour = 0xFFFFFF;  // 0xRRGGBB, background of LogoBanner
    int pictureTop = 5;
    int pictureLeft = 800;
    QString bitmap;  // empty: none; relative names are taken from the program directory
    std::vector<InfoTextLine> lines;
};

using BrandingTable = std::vector<BrandingRow>;

// Applies row `variant` of `table` to the panel: colours the QFrame named
// LogoBanner, moves the QLabel named LogoPicture and shows the row's bitmap in
// it (a bitmap that does not load leaves the picture as it is, silently), and
// adds the row's text lines. A variant outside the table does nothing. Every
// call adds new text labels; earlier ones stay.
void ShowLogo(QWidget* panel, const BrandingTable& table, int variant);

// Each adds a new label at (left, top) in the application font at `size`
// points; they differ only in colours. `slot` is not used. Returns the label.
QLabel* ShowInfoText1(QWidget* panel, int slot, const QString& text, int left, int top, int size);
QLabel* ShowInfoText2(QWidget* panel, int slot, const QString& text, int left, int top, int size);
QLabel* ShowInfoText3(QWidget* panel, int slot, const QString& text, int left, int top, int size);

}  // namespace tarvo

#include "branding.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <optional>

namespace tarvo {

namespace {

QLabel* addInfoText(QWidget* panel, const QString& text, int left, int top, int size, const QColor& ink,
                    std::optional<QColor> background)
{
    if (!panel)
        return nullptr;
    auto* label = new QLabel(text, panel);
    label->setObjectName(QStringLiteral("InfoText"));
    QFont font = QApplication::font();
    if (size > 0)
        font.setPointSize(size);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, ink);
    if (background) {
        palette.setColor(QPalette::Window, *background);
        label->setAutoFillBackground(true);
    }
    label->setPalette(palette);
    label->move(left, top);
    label->adjustSize();
    label->raise();
    label->show();
    return label;
}

QString bitmapPath(const QString& name)
{
    if (QDir::isAbsolutePath(name))
        return name;
    return QDir(QCoreApplication::applicationDirPath()).filePath(name);
}

}  // namespace

QLabel* ShowInfoText1(QWidget* panel, int, const QString& text, int left, int top, int size)
{
    return addInfoText(panel, text, left, top, size, QColor(0x80, 0x80, 0x80), QColor(Qt::white));
}

QLabel* ShowInfoText2(QWidget* panel, int, const QString& text, int left, int top, int size)
{
    return addInfoText(panel, text, left, top, size, QColor(Qt::black), QColor(Qt::white));
}

QLabel* ShowInfoText3(QWidget* panel, int, const QString& text, int left, int top, int size)
{
    return addInfoText(panel, text, left, top, size, QColor(Qt::white), std::nullopt);
}

void ShowLogo(QWidget* panel, const BrandingTable& table, int variant)
{
    if (!panel || variant < 0 || variant >= int(table.size()))
        return;
    const BrandingRow& row = table[size_t(variant)];

    if (auto* banner = panel->findChild<QFrame*>(QStringLiteral("LogoBanner"))) {
        QPalette palette = banner->palette();
        palette.setColor(QPalette::Window, QColor::fromRgb(QRgb(row.bannerColour)));
        banner->setPalette(palette);
        banner->setAutoFillBackground(true);
    }
    if (auto* picture = panel->findChild<QLabel*>(QStringLiteral("LogoPicture"))) {
        picture->move(row.pictureLeft, row.pictureTop);
        QPixmap bitmap;
        if (!row.bitmap.isEmpty() && bitmap.load(bitmapPath(row.bitmap)))
            picture->setPixmap(bitmap);
    }
    for (const InfoTextLine& line : row.lines) {
        switch (line.style) {
        case 1: ShowInfoText1(panel, 0, line.text, line.left, line.top, line.size); break;
        case 2: ShowInfoText2(panel, 0, line.text, line.left, line.top, line.size); break;
        case 3: ShowInfoText3(panel, 0, line.text, line.left, line.top, line.size); break;
        default: break;
        }
    }
}

}  // namespace tarvo

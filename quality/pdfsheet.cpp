#include "pdfsheet.h"

#include <QFontMetrics>
#include <QPageLayout>
#include <QPageSize>

namespace tarvo {

namespace {
constexpr int kResolution = 300;  // dots per inch of the page's coordinates
}

PdfSheet::PdfSheet(const QString& documentTitle, const QString& footer)
    : m_buffer(&m_bytes)
    , m_footer(footer)
{
    m_buffer.open(QIODevice::WriteOnly);
    m_writer = std::make_unique<QPdfWriter>(&m_buffer);
    m_writer->setResolution(kResolution);
    m_writer->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(18, 15, 18, 15),
                                        QPageLayout::Millimeter));
    m_writer->setTitle(documentTitle);
    m_writer->setCreator(footer);
    m_device = m_writer.get();
    begin();
}

PdfSheet::PdfSheet(QPagedPaintDevice* device, const QString& footer)
    : m_buffer(&m_bytes)
    , m_device(device)
    , m_footer(footer)
{
    begin();
}

void PdfSheet::begin()
{
    m_painter.begin(m_device);
    m_body = QFont(QStringLiteral("DejaVu Sans"));
    m_body.setStyleHint(QFont::SansSerif);
    // No ligatures: "fi" stays two letters for whoever searches or copies the text.
    m_body.setStyleStrategy(QFont::PreferNoShaping);
    m_body.setPointSizeF(9.5);
    m_painter.setFont(m_body);
    const QRect page = m_painter.viewport();
    m_width = page.width();
    m_bottom = page.height() - 2 * lineHeight();  // the footer's room
    m_y = 0;
}

PdfSheet::~PdfSheet()
{
    if (m_painter.isActive())
        m_painter.end();
}

int PdfSheet::lineHeight() const
{
    return QFontMetrics(m_body, m_device).lineSpacing();
}

void PdfSheet::title(const QString& text)
{
    QFont f = m_body;
    f.setPointSizeF(16);
    f.setBold(true);
    m_painter.setFont(f);
    const int h = QFontMetrics(f, m_device).lineSpacing();
    m_painter.drawText(QRect(0, m_y, m_width, h), Qt::AlignLeft | Qt::AlignVCenter, text);
    m_y += h;
    m_painter.setPen(QPen(Qt::black, 4));
    m_painter.drawLine(0, m_y + 8, m_width, m_y + 8);
    m_y += lineHeight() / 2 + 8;
    m_painter.setFont(m_body);
}

void PdfSheet::heading(const QString& text)
{
    QFont f = m_body;
    f.setPointSizeF(11.5);
    f.setBold(true);
    const int h = QFontMetrics(f, m_device).lineSpacing();
    if (room() < h + 3 * lineHeight())
        newPage();
    m_y += lineHeight() / 2;
    m_painter.setFont(f);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QRect(0, m_y, m_width, h), Qt::AlignLeft | Qt::AlignVCenter, text);
    m_y += h + lineHeight() / 4;
    m_painter.setFont(m_body);
}

void PdfSheet::line(const QString& text, bool small)
{
    QFont f = m_body;
    if (small)
        f.setPointSizeF(8);
    const QFontMetrics fm(f, m_device);
    const QRect box = fm.boundingRect(QRect(0, 0, m_width, 100000), Qt::TextWordWrap, text);
    if (room() < box.height())
        newPage();
    m_painter.setFont(f);
    m_painter.setPen(Qt::black);
    m_painter.drawText(QRect(0, m_y, m_width, box.height()), Qt::TextWordWrap, text);
    m_y += box.height();
    m_painter.setFont(m_body);
}

void PdfSheet::fields(const std::vector<std::pair<QString, QString>>& rows, double labelWidth)
{
    const int labelW = int(m_width * labelWidth);
    const int valueW = m_width - labelW;
    const QFontMetrics fm(m_body, m_device);
    QFont bold = m_body;
    bold.setBold(true);
    for (const auto& [label, value] : rows) {
        const int h = std::max(fm.boundingRect(QRect(0, 0, valueW, 100000), Qt::TextWordWrap, value).height(),
                               fm.lineSpacing());
        if (room() < h)
            newPage();
        m_painter.setPen(Qt::black);
        m_painter.setFont(bold);
        m_painter.drawText(QRect(0, m_y, labelW, h), Qt::AlignLeft | Qt::AlignTop, label);
        m_painter.setFont(m_body);
        m_painter.drawText(QRect(labelW, m_y, valueW, h), Qt::TextWordWrap | Qt::AlignTop, value);
        m_y += h;
    }
}

QRect PdfSheet::take(double heightShare)
{
    const int h = int(m_width * heightShare);
    if (room() < h)
        newPage();
    const QRect r(0, m_y, m_width, h);
    m_y += h;
    return r;
}

void PdfSheet::space(double lines)
{
    m_y += int(lineHeight() * lines);
}

void PdfSheet::newPage()
{
    drawFooter();
    m_device->newPage();
    ++m_page;
    m_y = 0;
}

void PdfSheet::drawFooter()
{
    QFont f = m_body;
    f.setPointSizeF(7.5);
    m_painter.setFont(f);
    m_painter.setPen(Qt::darkGray);
    const int h = QFontMetrics(f, m_device).lineSpacing();
    const QRect r(0, m_bottom + lineHeight(), m_width, h);
    m_painter.drawText(r, Qt::AlignLeft | Qt::AlignVCenter, m_footer);
    m_painter.drawText(r, Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("page %1").arg(m_page));
    m_painter.setFont(m_body);
    m_painter.setPen(Qt::black);
}

QByteArray PdfSheet::finish()
{
    drawFooter();
    m_painter.end();
    if (!m_writer)
        return {};
    m_writer.reset();
    m_buffer.close();
    return m_bytes;
}

}  // namespace tarvo

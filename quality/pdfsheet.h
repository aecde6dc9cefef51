// A page-by-page writer of plain A4 documents (reports, certificates) on
// Qt's own PDF writer: a title, headings, lines, label–value fields and
// rectangles for charts, top to bottom, with a new page where one is full.
#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <memory>
#include <utility>
#include <vector>

namespace tarvo {

class PdfSheet {
public:
    // `footer` goes at the foot of every page (program, version).
    PdfSheet(const QString& documentTitle, const QString& footer);
    // On another paged device (a printer), which must outlive the sheet.
    PdfSheet(QPagedPaintDevice* device, const QString& footer);
    ~PdfSheet();
    PdfSheet(const PdfSheet&) = delete;
    PdfSheet& operator=(const PdfSheet&) = delete;

    QPainter& painter() { return m_painter; }
    int width() const { return m_width; }
    // Room left on this page, in device units.
    int room() const { return m_bottom - m_y; }

    void title(const QString& text);
    void heading(const QString& text);
    void line(const QString& text, bool small = false);
    // Label and value in two columns, the labels `labelWidth` wide (a share of the width).
    void fields(const std::vector<std::pair<QString, QString>>& rows, double labelWidth = 0.3);
    // A rectangle of the full width and this height (a share of the width),
    // on a new page when it does not fit on this one.
    QRect take(double heightShare);
    void space(double lines = 0.5);
    void newPage();

    // The finished document (empty on another device).
    QByteArray finish();

    // Height of one line of the body text.
    int lineHeight() const;

private:
    void begin();
    void drawFooter();

    QByteArray m_bytes;
    QBuffer m_buffer;
    std::unique_ptr<QPdfWriter> m_writer;
    QPagedPaintDevice* m_device = nullptr;
    QPainter m_painter;
    QString m_footer;
    QFont m_body;
    int m_width = 0;
    int m_bottom = 0;
    int m_y = 0;
    int m_page = 1;
};

}  // namespace tarvo

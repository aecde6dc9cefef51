// The programs in German: a test switches to the compiled German texts and
// the German number format, builds the program's panels, and finds every text
// a person reads that is still the English one.
#pragma once

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QRegularExpression>
#include <QSet>
#include <QTableWidget>
#include <QTranslator>
#include <QWidget>
#include <QtCharts/QAbstractAxis>
#include <QtCharts/QAbstractSeries>
#include <QtCharts/QChart>
#include <QtCharts/QChartView>

#include "righthelp.h"

namespace tarvo::test {

// The German translation, remembering every text it gave, so that a text
// German keeps as it is (a name, a unit) is told from one never translated.
class RecordingTranslator : public QTranslator {
public:
    RecordingTranslator() { m_loaded = m_german.load(QStringLiteral(":/i18n/tarvo_de.qm")); }
    bool loaded() const { return m_loaded; }
    bool isEmpty() const override { return !m_loaded; }
    QString translate(const char* context, const char* source, const char* disambiguation, int n) const override
    {
        QString text = m_german.translate(context, source, disambiguation, n);
        if (!text.isEmpty())
            m_given.insert(text);
        return text;
    }
    bool gave(const QString& text) const { return m_given.contains(text); }

private:
    QTranslator m_german;
    bool m_loaded = false;
    mutable QSet<QString> m_given;
};

// German while it lives: the translation and the number format; English after.
class InGerman {
public:
    InGerman()
        : m_locale(QLocale())
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCoreApplication::installTranslator(&translator);
    }
    ~InGerman()
    {
        QCoreApplication::removeTranslator(&translator);
        QLocale::setDefault(m_locale);
    }
    InGerman(const InGerman&) = delete;
    InGerman& operator=(const InGerman&) = delete;
    RecordingTranslator translator;

private:
    QLocale m_locale;
};

// Every text a person reads on these panels: captions, buttons, entries of
// lists, table headers, tooltips, what a screen reader says, charts' titles,
// axes and legends, the entries of the charts' menus.
inline QStringList panelTexts(const QList<QWidget*>& panels)
{
    QStringList texts;
    const auto add = [&texts](const QString& t) {
        if (!t.trimmed().isEmpty())
            texts << t;
    };
    for (QWidget* panel : panels) {
        QList<QWidget*> widgets = panel->findChildren<QWidget*>();
        widgets.prepend(panel);
        for (QWidget* w : widgets) {
            add(w->windowTitle());
            add(w->toolTip());
            add(w->accessibleName());
            add(w->accessibleDescription());
            if (auto* l = qobject_cast<QLabel*>(w))
                add(l->text());
            if (auto* b = qobject_cast<QAbstractButton*>(w))
                add(b->text());
            if (auto* g = qobject_cast<QGroupBox*>(w))
                add(g->title());
            if (auto* c = qobject_cast<QComboBox*>(w))
                for (int i = 0; i < c->count(); ++i)
                    add(c->itemText(i));
            if (auto* s = qobject_cast<QAbstractSpinBox*>(w))
                add(s->specialValueText());
            if (auto* t = qobject_cast<QTableWidget*>(w))
                for (int c = 0; c < t->columnCount(); ++c)
                    if (const QTableWidgetItem* h = t->horizontalHeaderItem(c))
                        add(h->text());
            if (auto* m = qobject_cast<QMenu*>(w))
                for (const QAction* a : m->actions())
                    add(a->text());
            if (auto* v = qobject_cast<QChartView*>(w)) {
                add(v->chart()->title());
                for (const QAbstractAxis* a : v->chart()->axes())
                    add(a->titleText());
                for (const QAbstractSeries* s : v->chart()->series())
                    add(s->name());
            }
        }
    }
    return texts;
}

// The right-click help texts of the panels' controls.
inline QStringList helpTexts(const QList<QWidget*>& panels, const RightClickHelp& help)
{
    QStringList texts;
    for (QWidget* panel : panels)
        for (QWidget* w : panel->findChildren<QWidget*>())
            if (const RightClickHelp::Entry* e = help.entry(w->objectName()))
                texts << e->text.trimmed();
    return texts;
}

// Words that are the same in both languages: the sensor's signal and
// parameter names, units, interfaces, languages' own names, file names.
inline bool sameInBothLanguages(const QString& text)
{
    static const QSet<QString> names = {
        QStringLiteral("CH"),       QStringLiteral("REF"),   QStringLiteral("DIR"),    QStringLiteral("DIF"),
        QStringLiteral("NORM"),     QStringLiteral("INT"),   QStringLiteral("GF"),     QStringLiteral("PP"),
        QStringLiteral("TEMP"),     QStringLiteral("GU"),    QStringLiteral("RAM"),    QStringLiteral("EEPROM"),
        QStringLiteral("TCP"),      QStringLiteral("IP"),    QStringLiteral("RS"),     QStringLiteral("TARVO"),
        QStringLiteral("TEMPCOMP"), QStringLiteral("Scope"), QStringLiteral("ID"),     QStringLiteral("ms"),
        QStringLiteral("counts"),   QStringLiteral("per"),   QStringLiteral("mille"),  QStringLiteral("raw"),
        QStringLiteral("RGB"),      QStringLiteral("TOL"),   QStringLiteral("MAXVEC"), QStringLiteral("CSV"),
        QStringLiteral("PNG"),      QStringLiteral("PDF"),   QStringLiteral("ARG"),    QStringLiteral("English"),
        QStringLiteral("Deutsch")};
    static const QRegularExpression word(QStringLiteral("[A-Za-z]{2,}"));
    static const QRegularExpression fileName(QStringLiteral("^[\\w.-]+\\.\\w{2,4}$"));
    if (fileName.match(text.trimmed()).hasMatch())
        return true;
    for (auto it = word.globalMatch(text); it.hasNext();)
        if (!names.contains(it.next().captured()))
            return false;
    return true;
}

// The parts of composed texts ("TIMEOUT: reason", an advice with the port
// in it, "state — reason"), so that an English part inside a German text is
// found too.
inline QStringList textPieces(const QStringList& texts)
{
    static const QRegularExpression cut(QStringLiteral(": |\\n| — |; |, "));
    QStringList pieces;
    for (const QString& t : texts)
        for (const QString& piece : t.split(cut, Qt::SkipEmptyParts))
            if (!piece.trimmed().isEmpty())
                pieces << piece.trimmed();
    return pieces;
}

// The texts of the German panels that are the English ones: the same text
// in the English run, not given by the German translation, and made of more
// than the names that stay.
inline QStringList stillEnglish(const QStringList& english, const QStringList& german,
                                const RecordingTranslator& translator)
{
    const QSet<QString> inEnglish(english.begin(), english.end());
    QStringList left;
    for (const QString& t : german)
        if (inEnglish.contains(t) && !translator.gave(t) && !sameInBothLanguages(t) && !left.contains(t))
            left << t;
    return left;
}

}  // namespace tarvo::test

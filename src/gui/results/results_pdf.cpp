#include "gui/results/results_pdf.h"

#include <QDate>
#include <QLocale>
#include <QTime>

using namespace Qt::StringLiterals;

namespace ResultsPdf {

namespace {

QString cellText(const QVariant &value)
{
    switch (value.metaType().id()) {
    case QMetaType::QDate: return QLocale().toString(value.toDate(), QLocale::ShortFormat);
    case QMetaType::QTime: return value.toTime().toString(u"HH:mm:ss"_s);
    case QMetaType::Double: return QLocale().toString(value.toDouble(), 'f', 2);
    default: return value.toString();
    }
}

} // namespace

QString html(const QString &title, const QStringList &heading, const QList<ResultsTable> &tables)
{
    QString page = u"<html><body style=\"font-size:8pt\"><h2>"_s + title.toHtmlEscaped() + u"</h2>"_s;
    for (const QString &line : heading)
        page += u"<p>"_s + line.toHtmlEscaped() + u"</p>"_s;
    for (const ResultsTable &table : tables) {
        page += u"<h3>"_s + table.title.toHtmlEscaped() + u"</h3>"_s;
        // A header in <thead> is repeated at the top of every page the table runs over.
        page += u"<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" width=\"100%\"><thead><tr>"_s;
        for (const QString &header : table.headers)
            page += u"<th>"_s + header.toHtmlEscaped() + u"</th>"_s;
        page += u"</tr></thead><tbody>"_s;
        for (const QVariantList &row : table.rows) {
            page += u"<tr>"_s;
            for (const QVariant &value : row)
                page += u"<td>"_s + cellText(value).toHtmlEscaped() + u"</td>"_s;
            page += u"</tr>"_s;
        }
        page += u"</tbody></table>"_s;
    }
    return page + u"</body></html>"_s;
}

} // namespace ResultsPdf

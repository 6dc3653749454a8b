#include "gui/results/module/results_xlsx.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <xlsxwriter.h>

#include <filesystem>

using namespace Qt::StringLiterals;

namespace ResultsExport {

namespace {

// Excel's serial date: days since 30 December 1899, the time of day as the fraction.
double serial(const QDate &date)
{
    return double(QDate(1899, 12, 30).daysTo(date));
}

double serial(const QTime &time)
{
    return time.msecsSinceStartOfDay() / 86400000.0;
}

// Worksheet names hold at most 31 characters and none of []:*?/\ .
QString sheetName(const QString &name)
{
    QString cleaned = name;
    for (const QChar c : u"[]:*?/\\")
        cleaned.replace(c, u'_');
    return cleaned.left(31);
}

class Workbook
{
public:
    explicit Workbook(const QByteArray &path) : m_book(workbook_new(path.constData()))
    {
        if (!m_book)
            return;
        m_bold = workbook_add_format(m_book);
        format_set_bold(m_bold);
        m_date = workbook_add_format(m_book);
        format_set_num_format(m_date, "yyyy-mm-dd");
        m_time = workbook_add_format(m_book);
        format_set_num_format(m_time, "hh:mm:ss");
    }
    ~Workbook()
    {
        if (m_book)
            workbook_close(m_book);
    }

    bool isOpen() const { return m_book != nullptr; }

    void addSheet(const ResultsSheet &sheet)
    {
        lxw_worksheet *worksheet = workbook_add_worksheet(m_book, sheetName(sheet.name).toUtf8().constData());
        if (!worksheet)
            return;
        lxw_row_t row = 0;
        lxw_col_t widest = 0;
        for (const ResultsTable &table : sheet.tables) {
            if (!table.title.isEmpty())
                worksheet_write_string(worksheet, row++, 0, table.title.toUtf8().constData(), m_bold);
            for (lxw_col_t column = 0; column < lxw_col_t(table.headers.size()); ++column)
                worksheet_write_string(worksheet, row, column, table.headers[column].toUtf8().constData(), m_bold);
            widest = std::max(widest, lxw_col_t(table.headers.size()));
            ++row;
            for (const QVariantList &values : table.rows) {
                for (lxw_col_t column = 0; column < lxw_col_t(values.size()); ++column)
                    write(worksheet, row, column, values[column]);
                ++row;
            }
            // A blank row between tables.
            ++row;
        }
        if (widest > 0)
            worksheet_set_column(worksheet, 0, widest - 1, 12, nullptr);
    }

    // Closes the workbook, which writes the file; the error of the library, or none.
    lxw_error close()
    {
        const lxw_error result = workbook_close(m_book);
        m_book = nullptr;
        return result;
    }

private:
    void write(lxw_worksheet *worksheet, lxw_row_t row, lxw_col_t column, const QVariant &value)
    {
        switch (value.metaType().id()) {
        case QMetaType::UnknownType:
            return;
        case QMetaType::QDate:
            worksheet_write_number(worksheet, row, column, serial(value.toDate()), m_date);
            return;
        case QMetaType::QTime:
            worksheet_write_number(worksheet, row, column, serial(value.toTime()), m_time);
            return;
        case QMetaType::Int:
        case QMetaType::Double:
            worksheet_write_number(worksheet, row, column, value.toDouble(), nullptr);
            return;
        default:
            if (const QString text = value.toString(); !text.isEmpty())
                worksheet_write_string(worksheet, row, column, text.toUtf8().constData(), nullptr);
        }
    }

    lxw_workbook *m_book;
    lxw_format *m_bold = nullptr;
    lxw_format *m_date = nullptr;
    lxw_format *m_time = nullptr;
};

} // namespace

bool writeXlsx(const QString &path, const QList<ResultsSheet> &sheets, QString *error)
{
    // The workbook is written beside the file, which the library creates as any new file,
    // and put in its place only when it is whole.
    QString partPath;
    do
        partPath = path + u".part"_s + QString::number(QRandomGenerator::global()->generate(), 16);
    while (QFileInfo::exists(partPath));
    lxw_error result = LXW_NO_ERROR;
    {
        Workbook book(QFile::encodeName(partPath));
        if (!book.isOpen()) {
            result = LXW_ERROR_CREATING_XLSX_FILE;
        } else {
            for (const ResultsSheet &sheet : sheets)
                book.addSheet(sheet);
            result = book.close();
        }
    }
    std::error_code renamed;
    if (result == LXW_NO_ERROR)
        std::filesystem::rename(QFile::encodeName(partPath).constData(), QFile::encodeName(path).constData(), renamed);
    if (result != LXW_NO_ERROR || renamed) {
        QFile::remove(partPath);
        if (error)
            *error = result != LXW_NO_ERROR ? QString::fromUtf8(lxw_strerror(result))
                                            : QString::fromStdString(renamed.message());
        return false;
    }
    return true;
}

} // namespace ResultsExport

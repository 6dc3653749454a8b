#include "gui/common/paged_document.h"

#include "core/files/ansi_text.h"
#include "core/platform.h"

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextDocument>

namespace PagedDocument {

namespace {

QPageLayout a4(QPageLayout::Orientation orientation)
{
    return QPageLayout(QPageSize(QPageSize::A4), orientation, QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
}

} // namespace

void paint(QPagedPaintDevice *device, const QString &html, QPageLayout::Orientation orientation)
{
    device->setPageLayout(a4(orientation));
    QTextDocument document;
    document.setHtml(html);
    document.print(device);
}

bool writePdf(const QString &path, const QString &html, QPageLayout::Orientation orientation, FileError *error)
{
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&bytes);
        pdf.setResolution(300);
        paint(&pdf, html, orientation);
    }
    // Through the program's replacing save, so that a failed write leaves no half a file.
    return AnsiText::writeBytes(path, bytes.data(), error);
}

Printed print(Platform &platform, const QString &title, const QString &html, QPageLayout::Orientation orientation)
{
    QPrinter printer(QPrinter::HighResolution);
    // The dialog opens with the page the program lays out, so that the user's changes start from it.
    printer.setPageLayout(a4(orientation));
    if (!platform.choosePrinter(&printer, title))
        return Printed::Cancelled;
    QTextDocument document;
    document.setHtml(html);
    document.print(&printer);
    return printer.printerState() == QPrinter::Error ? Printed::Failed : Printed::Printed;
}

} // namespace PagedDocument

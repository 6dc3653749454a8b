#pragma once

#include "core/files/file_error.h"

#include <QPageLayout>
#include <QString>

class Platform;
class QPagedPaintDevice;

// Pages on A4 from an HTML page that QTextDocument lays out: one writer, two outputs, a PDF
// file and a printer chosen in the print dialog. Long tables break across pages with the
// header rows of their <thead> repeated.
namespace PagedDocument {

// Lays the page out on the device (page size, orientation and margins) and paints it.
void paint(QPagedPaintDevice *device, const QString &html, QPageLayout::Orientation orientation);

// Writes the pages as a PDF file, whole or not at all; false with the reason.
bool writePdf(const QString &path, const QString &html, QPageLayout::Orientation orientation,
              FileError *error = nullptr);

enum class Printed { Printed, Cancelled, Failed };

// Asks for a printer through the platform's print dialog, titled `title`, and prints the
// pages on it.
Printed print(Platform &platform, const QString &title, const QString &html, QPageLayout::Orientation orientation);

} // namespace PagedDocument

#pragma once

#include <QString>

// The reasons the file layer gives are the system's own texts, in English. A message in
// Russian says the common ones in Russian: no space, access denied, a read-only file system,
// no such file or folder, a file locked by another workstation. Any other reason stays as the
// system gave it.
namespace SystemReason {

QString russian(const QString &reason);

} // namespace SystemReason

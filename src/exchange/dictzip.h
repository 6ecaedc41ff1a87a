// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

namespace vantro {

// The whole content of a gzip file (a dictzip file is one); an empty string in why means
// success. Damaged or truncated data is refused with the reason.
QByteArray gunzipAll(const QByteArray &compressed, QString *why);

// A dictzip file of the bytes: gzip whose data is cut into chunks compressed one by one, with
// the table of their sizes in the header's "RA" extra field, so that a reader decompresses only
// the chunks that hold what it looks up. Any gzip reader reads it whole. Empty, with the reason
// in why, when the data is too large for one table (about 1.9 GB).
QByteArray dictzip(const QByteArray &plain, QString *why);

} // namespace vantro

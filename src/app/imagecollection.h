// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "mimesource.h"

#include <QtGlobal>

class MimeSourceFactory_trelvane;

namespace vantro {

// One picture of the compressed table that vantro-imagetable generates from images/. The table
// ends with an entry whose fields are all zero.
struct EmbeddedImage
{
    qint32 width;
    qint32 height;
    qint32 depth;
    const unsigned char *data;
    quint32 compressed;
    qint32 numColors;
    const quint32 *colorTable;
    bool alpha;
    const char *name;
};

extern const EmbeddedImage embeddedImages[];

// How many pictures have been inflated from the table since the program started.
int embeddedImageInflations();

// The factory registered with the default factory, or nullptr before registration and after
// removal.
const MimeSourceFactory_trelvane *registeredImageFactory();

} // namespace vantro

// Serves the pictures compiled into the program to the default factory, decoding each on its
// first request and keeping it from then on.
class MimeSourceFactory_trelvane : public MimeSourceFactory
{
public:
    ~MimeSourceFactory_trelvane() override;
    MimeSource data(const QString &name) const override;
};

// Registers the picture factory with the default factory; does nothing when it already is.
// Runs by itself before main; calling it again is harmless.
void qInitImages_trelvane();

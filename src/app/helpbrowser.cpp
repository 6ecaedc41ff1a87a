// SPDX-License-Identifier: GPL-3.0-or-later
#include "helpbrowser.h"

#include "mimesource.h"

#include <QTextDocument>

using vantro::HelpBrowser;

namespace {

QString resourceName(const QUrl &url)
{
    if (url.isLocalFile())
        return url.toLocalFile();
    return url.adjusted(QUrl::RemoveFragment | QUrl::RemoveQuery).toString();
}

} // namespace

HelpBrowser::HelpBrowser(QWidget *parent) : QTextBrowser(parent) {}

bool HelpBrowser::isWebAddress(const QUrl &url)
{
    const QString scheme = url.scheme().toLower();
    return !scheme.isEmpty() && scheme != QLatin1String("file") && scheme != QLatin1String("qrc");
}

QVariant HelpBrowser::loadResource(int type, const QUrl &name)
{
    // An empty answer rather than a null one: the document would otherwise try to read the name
    // as a file relative to the working directory, which is not where the help lives.
    if (isWebAddress(name))
        return QByteArray();
    const MimeSource source = MimeSourceFactory::defaultFactory()->data(resourceName(name));
    if (source.isImage() && (type == QTextDocument::ImageResource || source.bytes.isNull()))
        return source.image;
    return source.bytes.isNull() ? QByteArray() : source.bytes;
}

void HelpBrowser::doSetSource(const QUrl &name, QTextDocument::ResourceType type)
{
    if (isWebAddress(name))
        return;
    QTextBrowser::doSetSource(name, type);
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTextBrowser>

namespace vantro {

// The page viewer of the help window. Pages and pictures come only from the default mime source
// factory, which looks in the help directory first and then at the pictures compiled into the
// program. Web addresses are never fetched, neither as pictures nor as links.
class HelpBrowser : public QTextBrowser
{
    Q_OBJECT

public:
    explicit HelpBrowser(QWidget *parent = nullptr);

    QVariant loadResource(int type, const QUrl &name) override;

    static bool isWebAddress(const QUrl &url);

protected:
    void doSetSource(const QUrl &name, QTextDocument::ResourceType type) override;
};

} // namespace vantro

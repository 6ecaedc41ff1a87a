// SPDX-License-Identifier: GPL-3.0-or-later
#include "articlelayout.h"

#include <utility>

namespace vantro {
namespace {

constexpr std::pair<const char *, ArticleLayout> kNames[] = {
    {"mw", ArticleLayout::MonierWilliams},
    {"apte", ArticleLayout::Apte},
    {"borooah", ArticleLayout::Borooah},
    {"plain", ArticleLayout::Plain},
};

} // namespace

bool articleLayoutFromName(const QString &name, ArticleLayout &layout)
{
    for (const auto &[text, value] : kNames) {
        if (name == QLatin1String(text)) {
            layout = value;
            return true;
        }
    }
    return false;
}

QString articleLayoutName(ArticleLayout layout)
{
    for (const auto &[text, value] : kNames) {
        if (value == layout)
            return QString::fromLatin1(text);
    }
    return {};
}

// The names the digitisations go by: "mw-english-sanskrit", "apte-english-sanskrit-cologne",
// "borooah", each perhaps with its languages ("(en-sa)") after it.
ArticleLayout articleLayoutOfBook(const QString &bookName)
{
    const QString name = bookName.toLower();
    const bool englishSanskrit = name.contains(QLatin1String("english-sanskrit")) ||
                                 name.contains(QLatin1String("english sanskrit"));
    if (name.contains(QLatin1String("borooah")))
        return ArticleLayout::Borooah;
    if (englishSanskrit && name.contains(QLatin1String("apte")))
        return ArticleLayout::Apte;
    if (englishSanskrit &&
        (name.startsWith(QLatin1String("mw")) || name.contains(QLatin1String("monier"))))
        return ArticleLayout::MonierWilliams;
    return ArticleLayout::Plain;
}

} // namespace vantro

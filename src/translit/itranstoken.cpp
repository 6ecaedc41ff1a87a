#include "itranstoken.h"

namespace vantro {

namespace {

const QStringView kVerbatimMarker = u"##";

ItransToken verbatimAt(QStringView text, int position)
{
    const int start = position + int(kVerbatimMarker.size());
    int end = int(text.indexOf(kVerbatimMarker, start));
    if (end < 0)
        end = int(text.size());
    return {ItransToken::Kind::Verbatim, {}, start, end - start};
}

int characterLength(QStringView text, int position)
{
    const bool pair = text[position].isHighSurrogate() && position + 1 < text.size() &&
                      text[position + 1].isLowSurrogate();
    return pair ? 2 : 1;
}

int tokenEnd(const ItransToken &token, QStringView text)
{
    if (token.kind != ItransToken::Kind::Verbatim)
        return token.position + token.length;
    const int end = token.position + token.length;
    return end < text.size() ? end + int(kVerbatimMarker.size()) : end;
}

} // namespace

QVector<ItransToken> tokenizeItrans(QStringView text)
{
    QVector<ItransToken> tokens;
    tokens.reserve(text.size());
    const Scheme &scheme = Scheme::instance();
    bool afterConsonant = false;
    for (int position = 0; position < text.size();) {
        ItransToken token;
        const QStringView rest = text.mid(position);
        if (rest.startsWith(kVerbatimMarker)) {
            token = verbatimAt(text, position);
        } else if (rest.front() == u'_') {
            token = {ItransToken::Kind::Separator, {}, position, 1};
        } else if (const Spelling spelling = scheme.matchItrans(rest, afterConsonant);
                   spelling.letter) {
            token = {ItransToken::Kind::Letter, spelling, position, spelling.length};
        } else {
            token = {ItransToken::Kind::Other, {}, position, characterLength(text, position)};
        }
        if (token.kind != ItransToken::Kind::Separator)
            afterConsonant = token.isLetter() && token.letter()->isConsonant();
        tokens.append(token);
        position = tokenEnd(token, text);
    }
    return tokens;
}

// No spelling holds a "#", so the fences are exactly the "##" pairs found from the left.
bool leavesFenceOpen(QStringView text)
{
    bool open = false;
    const qsizetype marker = kVerbatimMarker.size();
    for (qsizetype at = text.indexOf(kVerbatimMarker); at >= 0;
         at = text.indexOf(kVerbatimMarker, at + marker))
        open = !open;
    return open;
}

} // namespace vantro

#include "transliterate.h"

#include <QTest>

using namespace vantro;

class TestItrans : public QObject
{
    Q_OBJECT

private slots:
    void vowels_data();
    void vowels();
    void consonants_data();
    void consonants();
    void clusters_data();
    void clusters();
    void signsAndSymbols_data();
    void signsAndSymbols();
    void finalConsonants_data();
    void finalConsonants();
    void alternatesAgree_data();
    void alternatesAgree();
    void separatorsAndVerbatim_data();
    void separatorsAndVerbatim();
    void notItransPassesThrough_data();
    void notItransPassesThrough();
    void iast_data();
    void iast();
    void backToItrans_data();
    void backToItrans();
};

void TestItrans::vowels_data()
{
    QTest::addColumn<QString>("itrans");
    QTest::addColumn<QString>("letter");
    QTest::addColumn<QString>("afterConsonant");
    QTest::addColumn<QString>("iast");
    const struct
    {
        const char *itrans;
        const char16_t *letter, *afterK, *iast;
    } rows[] = {
        {"a", u"अ", u"क", u"a"},    {"aa", u"आ", u"का", u"ā"}, {"A", u"आ", u"का", u"ā"},
        {"i", u"इ", u"कि", u"i"},   {"ii", u"ई", u"की", u"ī"}, {"I", u"ई", u"की", u"ī"},
        {"u", u"उ", u"कु", u"u"},    {"uu", u"ऊ", u"कू", u"ū"},  {"U", u"ऊ", u"कू", u"ū"},
        {"RRi", u"ऋ", u"कृ", u"ṛ"},  {"R^i", u"ऋ", u"कृ", u"ṛ"}, {"RRI", u"ॠ", u"कॄ", u"ṝ"},
        {"R^I", u"ॠ", u"कॄ", u"ṝ"},  {"LLi", u"ऌ", u"कॢ", u"ḷ"}, {"L^i", u"ऌ", u"कॢ", u"ḷ"},
        {"LLI", u"ॡ", u"कॣ", u"ḹ"},  {"L^I", u"ॡ", u"कॣ", u"ḹ"}, {"e", u"ए", u"के", u"e"},
        {"ee", u"ए", u"के", u"e"},   {"E", u"ए", u"के", u"e"},   {"ai", u"ऐ", u"कै", u"ai"},
        {"o", u"ओ", u"को", u"o"},   {"oo", u"ओ", u"को", u"o"}, {"O", u"ओ", u"को", u"o"},
        {"au", u"औ", u"कौ", u"au"},
    };
    for (const auto &r : rows)
        QTest::newRow(r.itrans) << QString::fromLatin1(r.itrans) << QString::fromUtf16(r.letter)
                                << QString::fromUtf16(r.afterK) << QString::fromUtf16(r.iast);
}

void TestItrans::vowels()
{
    QFETCH(QString, itrans);
    QFETCH(QString, letter);
    QFETCH(QString, afterConsonant);
    QFETCH(QString, iast);
    QCOMPARE(itransToDevanagari(itrans), letter);
    QCOMPARE(itransToDevanagari(QLatin1Char('k') + itrans), afterConsonant);
    QCOMPARE(itransToIast(itrans), iast);
    QCOMPARE(itransToIast(QLatin1Char('k') + itrans), QLatin1Char('k') + iast);
}

void TestItrans::consonants_data()
{
    QTest::addColumn<QString>("itrans");
    QTest::addColumn<QString>("devanagari");
    QTest::addColumn<QString>("iast");
    const struct
    {
        const char *itrans;
        const char16_t *devanagari, *iast;
    } rows[] = {
        {"k", u"क", u"k"},
        {"kh", u"ख", u"kh"},
        {"g", u"ग", u"g"},
        {"gh", u"घ", u"gh"},
        {"~N", u"ङ", u"ṅ"},
        {"N^", u"ङ", u"ṅ"},
        {"ch", u"च", u"c"},
        {"Ch", u"छ", u"ch"},
        {"chh", u"छ", u"ch"},
        {"j", u"ज", u"j"},
        {"jh", u"झ", u"jh"},
        {"~n", u"ञ", u"ñ"},
        {"JN", u"ञ", u"ñ"},
        {"T", u"ट", u"ṭ"},
        {"Th", u"ठ", u"ṭh"},
        {"D", u"ड", u"ḍ"},
        {"Dh", u"ढ", u"ḍh"},
        {"N", u"ण", u"ṇ"},
        {"t", u"त", u"t"},
        {"th", u"थ", u"th"},
        {"d", u"द", u"d"},
        {"dh", u"ध", u"dh"},
        {"n", u"न", u"n"},
        {"p", u"प", u"p"},
        {"ph", u"फ", u"ph"},
        {"b", u"ब", u"b"},
        {"bh", u"भ", u"bh"},
        {"m", u"म", u"m"},
        {"y", u"य", u"y"},
        {"r", u"र", u"r"},
        {"l", u"ल", u"l"},
        {"v", u"व", u"v"},
        {"w", u"व", u"v"},
        {"sh", u"श", u"ś"},
        {"Sh", u"ष", u"ṣ"},
        {"shh", u"ष", u"ṣ"},
        {"s", u"स", u"s"},
        {"h", u"ह", u"h"},
        {"L", u"ळ", u"ḷ"},
        {"q", u"\u0915\u093C", u"q"},
        {"K", u"\u0916\u093C", u"ḵh"},
        {"G", u"\u0917\u093C", u"ġ"},
        {"z", u"\u091C\u093C", u"z"},
        {"J", u"\u091C\u093C", u"z"},
        {"f", u"\u092B\u093C", u"f"},
        {".D", u"\u0921\u093C", u"ṛ"},
        {".Dh", u"\u0922\u093C", u"ṛh"},
        {"Y", u"\u092F\u093C", u"ẏ"},
    };
    for (const auto &r : rows)
        QTest::newRow(r.itrans) << QString::fromLatin1(r.itrans) << QString::fromUtf16(r.devanagari)
                                << QString::fromUtf16(r.iast);
}

// Each consonant with its inherent a, bare at the end of a word, and before a vowel sign.
void TestItrans::consonants()
{
    QFETCH(QString, itrans);
    QFETCH(QString, devanagari);
    QFETCH(QString, iast);
    QCOMPARE(itransToDevanagari(itrans + QLatin1Char('a')), devanagari);
    QCOMPARE(itransToDevanagari(itrans), devanagari + QChar(0x094D));
    QCOMPARE(itransToDevanagari(itrans + QLatin1Char('I')), devanagari + QChar(0x0940));
    QCOMPARE(itransToIast(itrans + QLatin1Char('a')), iast + QLatin1Char('a'));
}

void TestItrans::clusters_data()
{
    QTest::addColumn<QString>("itrans");
    QTest::addColumn<QString>("devanagari");
    QTest::newRow("x") << "x" << u"क्ष्"_qs;
    QTest::newRow("kSh") << "kShatriya" << u"क्षत्रिय"_qs;
    QTest::newRow("j~n") << "j~nAna" << u"ज्ञान"_qs;
    QTest::newRow("GY") << "GYAna" << u"ज्ञान"_qs;
    QTest::newRow("dny") << "dnyAna" << u"ज्ञान"_qs;
    QTest::newRow("two") << "bhakti" << u"भक्ति"_qs;
    QTest::newRow("three") << "shastra" << u"शस्त्र"_qs;
    QTest::newRow("four") << "kArtsnya" << u"कार्त्स्न्य"_qs;
    QTest::newRow("r first") << "dharma" << u"धर्म"_qs;
    QTest::newRow("aspirate in cluster") << "buddhi" << u"बुद्धि"_qs;
    QTest::newRow("conjunct in cluster") << "lakShmI" << u"लक्ष्मी"_qs;
    QTest::newRow("nasal cluster") << "a~Nga" << u"अङ्ग"_qs;
    QTest::newRow("cluster with R^i") << "dR^iShTvA" << u"दृष्ट्वा"_qs;
}

void TestItrans::clusters()
{
    QFETCH(QString, itrans);
    QFETCH(QString, devanagari);
    QCOMPARE(itransToDevanagari(itrans), devanagari);
}

void TestItrans::signsAndSymbols_data()
{
    QTest::addColumn<QString>("itrans");
    QTest::addColumn<QString>("devanagari");
    QTest::newRow("M") << "aMsha" << u"अंश"_qs;
    QTest::newRow(".n") << "a.nsha" << u"अंश"_qs;
    QTest::newRow(".m") << "a.msha" << u"अंश"_qs;
    QTest::newRow(".N") << "cha.Ndra" << u"चँद्र"_qs;
    QTest::newRow("H") << "rAmaH" << u"रामः"_qs;
    QTest::newRow(".h inside a word") << "k.hSha" << u"क्ष"_qs;
    QTest::newRow(".a") << "so.ayam" << u"सोऽयम्"_qs;
    QTest::newRow("OM") << "OM namaH" << u"ॐ नमः"_qs;
    QTest::newRow("AUM") << "AUM" << u"ॐ"_qs;
    QTest::newRow("OM after a consonant") << "kOM" << u"कों"_qs;
    QTest::newRow("danda") << "iti |" << u"इति ।"_qs;
    QTest::newRow("double danda") << "iti ||" << u"इति ॥"_qs;
    QTest::newRow("verse number") << "||12||" << u"॥१२॥"_qs;
    QTest::newRow("digits") << "0123456789" << u"०१२३४५६७८९"_qs;
    QTest::newRow("sign after bare consonant") << "kM" << u"क्ं"_qs;
}

void TestItrans::signsAndSymbols()
{
    QFETCH(QString, itrans);
    QFETCH(QString, devanagari);
    QCOMPARE(itransToDevanagari(itrans), devanagari);
}

void TestItrans::finalConsonants_data()
{
    QTest::addColumn<QString>("itrans");
    QTest::addColumn<QString>("withVirama");
    QTest::addColumn<QString>("explicitOnly");
    QTest::newRow("end of text") << "vAk" << u"वाक्"_qs << u"वाक"_qs;
    QTest::newRow("explicit .h") << "vAk.h" << u"वाक्"_qs << u"वाक्"_qs;
    QTest::newRow("before a space") << "bhagavAn uvAcha" << u"भगवान् उवाच"_qs << u"भगवान उवाच"_qs;
    QTest::newRow("before punctuation") << "marut, jagat." << u"मरुत्, जगत्."_qs << u"मरुत, जगत."_qs;
    QTest::newRow("before danda") << "abravIt|" << u"अब्रवीत्।"_qs << u"अब्रवीत।"_qs;
    QTest::newRow("before a line break") << "sat\nchit" << u"सत्\nचित्"_qs << u"सत\nचित"_qs;
    QTest::newRow("before ##") << "vAk##x##" << u"वाक्x"_qs << u"वाकx"_qs;
    QTest::newRow("cluster is not final") << "putra" << u"पुत्र"_qs << u"पुत्र"_qs;
    QTest::newRow("final cluster") << "vidyut" << u"विद्युत्"_qs << u"विद्युत"_qs;
    QTest::newRow("underscore keeps the cluster") << "k_h" << u"क्ह्"_qs << u"क्ह"_qs;
}

void TestItrans::finalConsonants()
{
    QFETCH(QString, itrans);
    QFETCH(QString, withVirama);
    QFETCH(QString, explicitOnly);
    QCOMPARE(itransToDevanagari(itrans), withVirama);
    QCOMPARE(itransToDevanagari(itrans, {FinalConsonant::Virama}), withVirama);
    QCOMPARE(itransToDevanagari(itrans, {FinalConsonant::Explicit}), explicitOnly);
}

void TestItrans::alternatesAgree_data()
{
    QTest::addColumn<QStringList>("spellings");
    QTest::addColumn<QString>("devanagari");
    QTest::newRow("aa ii uu") << QStringList{"rAmAyaNa gItA pUjA", "raamaayaNa giitaa puujaa"}
                              << u"रामायण गीता पूजा"_qs;
    QTest::newRow("R^i RRi") << QStringList{"kR^iShNa", "kRRiShNa", "kR^ishhNa"} << u"कृष्ण"_qs;
    QTest::newRow("R^I L^i L^I") << QStringList{"pitR^In kL^ipta L^I", "pitRRIn kLLipta LLI"}
                                 << u"पितॄन् कॢप्त ॡ"_qs;
    QTest::newRow("e o") << QStringList{"deva loka", "deeva looka", "dEva lOka"} << u"देव लोक"_qs;
    QTest::newRow("~N N^") << QStringList{"sa~Nga", "saN^ga"} << u"सङ्ग"_qs;
    QTest::newRow("~n JN") << QStringList{"pa~ncha", "paJNcha"} << u"पञ्च"_qs;
    QTest::newRow("Ch chh") << QStringList{"ChAyA", "chhAyA"} << u"छाया"_qs;
    QTest::newRow("v w") << QStringList{"vishva", "wishwa"} << u"विश्व"_qs;
    QTest::newRow("Sh shh") << QStringList{"ShaShTha", "shhashhTha"} << u"षष्ठ"_qs;
    QTest::newRow("kSh x") << QStringList{"kShamA", "xamA"} << u"क्षमा"_qs;
    QTest::newRow("j~n GY dny") << QStringList{"yaj~na", "yaGYa", "yadnya"} << u"यज्ञ"_qs;
    QTest::newRow("M .n .m") << QStringList{"saMskR^ita", "sa.nskR^ita", "sa.mskR^ita"}
                             << u"संस्कृत"_qs;
    QTest::newRow("z J") << QStringList{"zamIn", "JamIn"} << u"\u091C\u093Cमीन्"_qs;
    QTest::newRow("OM AUM") << QStringList{"OM", "AUM"} << u"ॐ"_qs;
}

void TestItrans::alternatesAgree()
{
    QFETCH(QStringList, spellings);
    QFETCH(QString, devanagari);
    for (const QString &spelling : spellings)
        QCOMPARE(itransToDevanagari(spelling), devanagari);
}

void TestItrans::separatorsAndVerbatim_data()
{
    QTest::addColumn<QString>("itrans");
    QTest::addColumn<QString>("devanagari");
    QTest::newRow("ai") << "gaiH" << u"गैः"_qs;
    QTest::newRow("a_i") << "ga_iH" << u"गइः"_qs;
    QTest::newRow("a_u") << "pra_uga" << u"प्रउग"_qs;
    QTest::newRow("kh") << "sukha" << u"सुख"_qs;
    QTest::newRow("k_h") << "vAk_hari" << u"वाक्हरि"_qs;
    QTest::newRow("_ at the ends") << "_rAma_" << u"राम"_qs;
    QTest::newRow("##") << "##rAma## rAma" << u"rAma राम"_qs;
    QTest::newRow("## inside a word") << "ka##-##ra" << u"क-र"_qs;
    QTest::newRow("empty ##") << "ka####ra" << u"कर"_qs;
    QTest::newRow("unclosed ##") << "rAma ##sItA" << u"राम sItA"_qs;
    QTest::newRow("single #") << "#rAma" << u"#राम"_qs;
}

void TestItrans::separatorsAndVerbatim()
{
    QFETCH(QString, itrans);
    QFETCH(QString, devanagari);
    QCOMPARE(itransToDevanagari(itrans), devanagari);
}

void TestItrans::notItransPassesThrough_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("punctuation") << ",;:!?()[]-+=*/\"'<>&%$@`{}\\";
    QTest::newRow("whitespace") << " \t\n\r\n  ";
    QTest::newRow("unknown Latin letters") << "BCFPQVWXZ c C S R";
    QTest::newRow("caret and tilde alone") << "^ ~ ^^~~";
    QTest::newRow("Devanagari") << u"राम सीता"_qs;
    QTest::newRow("other scripts") << u"ü é ж λ 中"_qs;
    QTest::newRow("astral") << u"😀𝔸"_qs;
    QTest::newRow("joiners") << u"\u200C\u200D"_qs;
    QTest::newRow("replacement") << u"\uFFFD"_qs;
}

void TestItrans::notItransPassesThrough()
{
    QFETCH(QString, text);
    QCOMPARE(itransToDevanagari(text), text);
    QCOMPARE(itransToDevanagari(QStringLiteral("rAma") + text + QStringLiteral("sItA")),
             QStringLiteral(u"राम") + text + QStringLiteral(u"सीता"));
}

void TestItrans::iast_data()
{
    QTest::addColumn<QString>("itrans");
    QTest::addColumn<QString>("iast");
    QTest::newRow("sentence") << "dharmakShetre kurukShetre samavetA yuyutsavaH |"
                              << u"dharmakṣetre kurukṣetre samavetā yuyutsavaḥ |"_qs;
    QTest::newRow("anusvara") << "saMskR^itam" << u"saṃskṛtam"_qs;
    QTest::newRow("chandrabindu") << "ha.Nsa" << u"ham̐sa"_qs;
    QTest::newRow("hiatus") << "pra_uga ga_i" << u"praüga gaï"_qs;
    QTest::newRow("diphthong") << "kau gai" << u"kau gai"_qs;
    QTest::newRow("avagraha") << "so.ayam" << u"so’yam"_qs;
    QTest::newRow("OM") << "OM" << u"oṃ"_qs;
    QTest::newRow("virama invisible") << "vAk.h" << u"vāk"_qs;
    QTest::newRow("palatals") << "chChj~nAna" << u"cchjñāna"_qs;
}

void TestItrans::iast()
{
    QFETCH(QString, itrans);
    QFETCH(QString, iast);
    QCOMPARE(itransToIast(itrans), iast);
}

void TestItrans::backToItrans_data()
{
    QTest::addColumn<QString>("devanagari");
    QTest::addColumn<QString>("itrans");
    QTest::addColumn<QString>("explicitItrans");
    QTest::newRow("word") << u"राम"_qs << "rAma"
                          << "rAma";
    QTest::newRow("final virama") << u"वाक्"_qs << "vAk"
                                  << "vAk.h";
    QTest::newRow("virama before space") << u"सत् चित्"_qs << "sat chit"
                                         << "sat.h chit.h";
    QTest::newRow("vowel after inherent a") << u"कइ"_qs << "ka_i"
                                            << "ka_i";
    QTest::newRow("vowel after vowel") << u"अउ"_qs << "a_u"
                                       << "a_u";
    QTest::newRow("k and h") << u"वाक्हरि"_qs << "vAk_hari"
                             << "vAk_hari";
    QTest::newRow("d n y") << u"द्न्य"_qs << "dn_ya"
                           << "dn_ya";
    QTest::newRow("two dandas") << u"।।"_qs << "|_|"
                                << "|_|";
    QTest::newRow("virama before a vowel") << u"क्अ"_qs << "k.ha"
                                           << "k.ha";
    QTest::newRow("conjuncts") << u"क्षत्रिय ज्ञान"_qs << "kShatriya j~nAna"
                               << "kShatriya j~nAna";
    QTest::newRow("precomposed nukta") << u"\u0958\u095B"_qs << "qaza"
                                       << "qaza";
    QTest::newRow("decomposed nukta") << u"\u0915\u093C"_qs << "qa"
                                      << "qa";
    QTest::newRow("signs") << u"संस्कृतं रामः चँद्र सोऽयम्"_qs << "saMskR^itaM rAmaH cha.Ndra so.ayam"
                           << "saMskR^itaM rAmaH cha.Ndra so.ayam.h";
    QTest::newRow("OM") << u"ॐ"_qs << "OM"
                        << "OM";
    QTest::newRow("Devanagari digits") << u"॥१२॥"_qs << "||12||"
                                       << "||12||";
    QTest::newRow("ASCII digits are fenced") << u"2024"_qs << "##2024##"
                                             << "##2024##";
    QTest::newRow("Latin is fenced") << u"राम and सीता"_qs << "rAma ##and## sItA"
                                     << "rAma ##and## sItA";
    QTest::newRow("punctuation stays") << u"राम, सीता!"_qs << "rAma, sItA!"
                                       << "rAma, sItA!";
    QTest::newRow("dot before n") << u".न"_qs << "._na"
                                  << "._na";
    QTest::newRow("orphan vowel sign") << u"ि"_qs << u"ि"_qs << u"ि"_qs;
}

void TestItrans::backToItrans()
{
    QFETCH(QString, devanagari);
    QFETCH(QString, itrans);
    QFETCH(QString, explicitItrans);
    QCOMPARE(devanagariToItrans(devanagari), itrans);
    QCOMPARE(devanagariToItrans(devanagari, {FinalConsonant::Explicit}), explicitItrans);
    const QString normal = devanagari.normalized(QString::NormalizationForm_C);
    QCOMPARE(itransToDevanagari(itrans), normal);
    QCOMPARE(itransToDevanagari(explicitItrans, {FinalConsonant::Explicit}), normal);
}

QTEST_GUILESS_MAIN(TestItrans)
#include "tst_itrans.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
#include "importoptionsdialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <utility>

namespace {

// The layouts in the order the box offers them.
constexpr vantro::ArticleLayout kLayouts[] = {
    vantro::ArticleLayout::MonierWilliams, vantro::ArticleLayout::Apte,
    vantro::ArticleLayout::Borooah, vantro::ArticleLayout::Plain};

// The languages a translator meets in English dictionaries of India's languages; any other
// code can be typed.
constexpr std::pair<const char *, const char *> kLanguages[] = {
    {"sa", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Sanskrit")},
    {"hi", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Hindi")},
    {"mr", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Marathi")},
    {"ne", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Nepali")},
    {"bn", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Bengali")},
    {"gu", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Gujarati")},
    {"pa", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Panjabi")},
    {"pi", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Pali")},
    {"ta", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Tamil")},
    {"te", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Telugu")},
    {"kn", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Kannada")},
    {"ml", QT_TRANSLATE_NOOP("ImportOptionsDialog", "Malayalam")},
    {"en", QT_TRANSLATE_NOOP("ImportOptionsDialog", "English")},
};

} // namespace

ImportOptionsDialog::ImportOptionsDialog(const QString &fileName, const ImportChoices &start,
                                         QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("importOptionsDialog"));
    setWindowTitle(tr("Import Dictionary"));
    createWidgets(fileName);
    m_policy->setCurrentIndex(int(start.policy));
    for (int i = 0; i < m_layout->count(); ++i) {
        if (m_layout->itemData(i).toInt() == int(start.layout))
            m_layout->setCurrentIndex(i);
    }
    fillLanguages(start.language);
}

void ImportOptionsDialog::createWidgets(const QString &fileName)
{
    m_policy = new QComboBox;
    m_policy->setObjectName(QStringLiteral("importPolicy"));
    // In the order of vantro::OnConflict.
    m_policy->addItems({tr("keep your record"), tr("replace it with the imported one"),
                        tr("add the imported meaning after yours")});
    m_layout = new QComboBox;
    m_layout->setObjectName(QStringLiteral("importLayout"));
    const QStringList layoutNames{tr("Monier-Williams' English-Sanskrit"),
                                  tr("Apte's English-Sanskrit"), tr("Borooah's English-Sanskrit"),
                                  tr("any other: its definitions as text")};
    for (int i = 0; i < layoutNames.size(); ++i)
        m_layout->addItem(layoutNames.at(i), int(kLayouts[i]));
    m_language = new QComboBox;
    m_language->setObjectName(QStringLiteral("importLanguage"));
    m_language->setEditable(true);
    m_language->setInsertPolicy(QComboBox::NoInsert);
    connect(m_language, &QComboBox::currentTextChanged, this, &ImportOptionsDialog::languageEdited);

    auto *form = new QFormLayout;
    form->addRow(tr("For a &word already in your dictionary:"), m_policy);
    form->addRow(tr("&Layout of its articles:"), m_layout);
    form->addRow(tr("Lan&guage of its meanings:"), m_language);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    m_import = buttons->button(QDialogButtonBox::Ok);
    m_import->setText(tr("&Import"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    // The editable field keeps Enter from the default button: it imports all the same.
    connect(m_language->lineEdit(), &QLineEdit::returnPressed, m_import, &QPushButton::click);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Import %1").arg(QFileInfo(fileName).fileName())));
    layout->addLayout(form);
    layout->addWidget(buttons);
    m_policy->setFocus();
}

void ImportOptionsDialog::fillLanguages(const QString &language)
{
    for (const auto &[code, name] : kLanguages)
        m_language->addItem(QStringLiteral("%1 (%2)").arg(QLatin1String(code), tr(name)));
    for (int i = 0; i < m_language->count(); ++i) {
        if (m_language->itemText(i).startsWith(language + QStringLiteral(" ("))) {
            m_language->setCurrentIndex(i);
            return;
        }
    }
    m_language->setEditText(language);
}

// The code the language field starts with: "hi" of "hi (Hindi)" or of "hi" typed.
QString ImportOptionsDialog::languageCode() const
{
    return m_language->currentText().section(u' ', 0, 0).trimmed().toLower();
}

// A code the import command would refuse cannot be imported with.
void ImportOptionsDialog::languageEdited()
{
    static const QRegularExpression code(QStringLiteral("^[a-z]{2,3}$"));
    m_import->setEnabled(code.match(languageCode()).hasMatch());
}

ImportChoices ImportOptionsDialog::choices() const
{
    return {vantro::OnConflict(m_policy->currentIndex()),
            vantro::ArticleLayout(m_layout->currentData().toInt()), languageCode()};
}

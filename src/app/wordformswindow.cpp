// SPDX-License-Identifier: GPL-3.0-or-later
#include "wordformswindow.h"

#include "formindex.h"
#include "statedgrammar.h"

#include "itransinsertion.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace vantro;

namespace {

QLabel *buddyLabel(const QString &text, QWidget *buddy)
{
    auto *label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

bool sameReading(const WordGuess &a, const WordGuess &b)
{
    return a.kind == b.kind && a.noun.stem == b.noun.stem && a.noun.gender == b.noun.gender &&
           a.verb.root == b.verb.root && a.verb.verbClass == b.verb.verbClass &&
           a.verb.pada == b.verb.pada;
}

// The item of a box whose data is the value, or -1; the boxes carry the grammar's values as
// their items' data, so that their order on screen is free.
template <typename Value> int itemWith(const QComboBox *box, Value value)
{
    for (int item = 0; item < box->count(); ++item) {
        const QVariant data = box->itemData(item);
        if (data.isValid() && data.value<Value>() == value)
            return item;
    }
    return -1;
}

template <typename Value> void selectItemWith(QComboBox *box, Value value)
{
    if (const int item = itemWith(box, value); item >= 0)
        box->setCurrentIndex(item);
}

template <typename Value> Value chosenValue(const QComboBox *box)
{
    return box->currentData().value<Value>();
}

void addGenders(QComboBox *box)
{
    box->addItem(WordFormsWindow::tr("masculine"), QVariant::fromValue(Gender::Masculine));
    box->addItem(WordFormsWindow::tr("feminine"), QVariant::fromValue(Gender::Feminine));
    box->addItem(WordFormsWindow::tr("neuter"), QVariant::fromValue(Gender::Neuter));
}

void appendNewReadings(QList<WordGuess> &readings, const QList<WordGuess> &more)
{
    for (const WordGuess &guess : more) {
        if (std::none_of(readings.cbegin(), readings.cend(),
                         [&guess](const WordGuess &had) { return sameReading(had, guess); }))
            readings.append(guess);
    }
}

} // namespace

WordFormsWindow::WordFormsWindow(QPlainTextEdit *pane, QWidget *parent)
    : QWidget(parent, Qt::Window), m_pane(pane)
{
    setObjectName(QStringLiteral("wordFormsWindow"));
    setWindowTitle(tr("Word Forms"));
    createWidgets();
    resize(760, 520);
}

void WordFormsWindow::createWidgets()
{
    m_word = new QLineEdit(this);
    m_word->setObjectName(QStringLiteral("wordFormsWord"));
    m_reading = new QComboBox(this);
    m_reading->setObjectName(QStringLiteral("wordFormsReading"));
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("wordFormsTable"));
    m_table->setModel(&m_model);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setTabKeyNavigation(false);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setStretchLastSection(true);
    QFont font = m_table->font();
    font.setPointSize(13);
    m_table->setFont(font);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("wordFormsStatus"));

    auto *form = new QFormLayout;
    form->addRow(buddyLabel(tr("&Word:"), m_word), m_word);
    form->addRow(buddyLabel(tr("&Reading:"), m_reading), m_reading);
    form->addRow(QString(), createClassRow());
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buddyLabel(tr("F&orms (Enter puts the chosen one into the ITRANS pane, "
                                    "Escape closes):"),
                                 m_table));
    layout->addWidget(m_table, 1);
    layout->addWidget(m_status);

    const QList<QWidget *> chain = {
        m_word,    m_reading,    m_gender,           m_class, m_pada, m_tense,
        m_passive, m_derivative, m_derivativeGender, m_table};
    for (qsizetype i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
    connect(m_word, &QLineEdit::textEdited, this, &WordFormsWindow::wordEdited);
    connect(m_reading, &QComboBox::currentIndexChanged, this, &WordFormsWindow::readingChosen);
    connect(m_table, &QTableView::doubleClicked, this, &WordFormsWindow::insertChosenForm);
    // Queued: the view selects the new current cell alone after telling of it.
    connect(
        m_table->selectionModel(), &QItemSelectionModel::currentChanged, this,
        [this] { followItransCell(); }, Qt::QueuedConnection);
    m_table->installEventFilter(this);
}

// The class of the reading: the gender of a noun; the class, pada, tense and voice of a verb.
QLayout *WordFormsWindow::createClassRow()
{
    m_gender = new QComboBox;
    addGenders(m_gender);
    m_nounClass = new QWidget(this);
    auto *noun = new QHBoxLayout(m_nounClass);
    noun->setContentsMargins(0, 0, 0, 0);
    noun->addWidget(buddyLabel(tr("&Gender:"), m_gender));
    noun->addWidget(m_gender);
    noun->addStretch();

    m_class = new QSpinBox;
    m_class->setRange(1, 10);
    m_pada = new QComboBox;
    m_pada->setObjectName(QStringLiteral("wordFormsPada"));
    m_pada->addItem(tr("parasmaipada"), QVariant::fromValue(Pada::Parasmaipada));
    m_pada->addItem(tr("atmanepada"), QVariant::fromValue(Pada::Atmanepada));
    m_tense = new QComboBox;
    m_tense->setObjectName(QStringLiteral("wordFormsTense"));
    for (const Tense tense : allTenses())
        m_tense->addItem(tenseLabel(tense), QVariant::fromValue(tense));
    // The forms made from the root come last, the one entry without a tense.
    m_tense->addItem(tr("participles, gerund, infinitive"));
    m_passive = new QCheckBox(tr("Pa&ssive"));
    m_passive->setObjectName(QStringLiteral("wordFormsPassive"));
    m_derived = new QComboBox;
    m_derived->setObjectName(QStringLiteral("wordFormsDerived"));
    m_derived->addItem(tr("the root"), QVariant::fromValue(VerbRequest::Derived::None));
    m_derived->addItem(tr("causative"), QVariant::fromValue(VerbRequest::Derived::Causative));
    m_derived->addItem(tr("desiderative"), QVariant::fromValue(VerbRequest::Derived::Desiderative));
    m_verbClass = new QWidget(this);
    auto *verb = new QHBoxLayout(m_verbClass);
    verb->setContentsMargins(0, 0, 0, 0);
    verb->addWidget(buddyLabel(tr("&Class:"), m_class));
    verb->addWidget(m_class);
    verb->addWidget(buddyLabel(tr("&Pada:"), m_pada));
    verb->addWidget(m_pada);
    verb->addWidget(buddyLabel(tr("&Tense:"), m_tense));
    verb->addWidget(m_tense);
    verb->addWidget(m_passive);
    verb->addWidget(buddyLabel(tr("&Use:"), m_derived));
    verb->addWidget(m_derived);
    verb->addStretch();

    m_derivative = new QComboBox;
    m_derivative->setObjectName(QStringLiteral("wordFormsDerivative"));
    m_derivativeGender = new QComboBox;
    m_derivativeGender->setObjectName(QStringLiteral("wordFormsDerivativeGender"));
    addGenders(m_derivativeGender);
    m_derivativeRow = new QWidget(this);
    auto *derivative = new QHBoxLayout(m_derivativeRow);
    derivative->setContentsMargins(0, 0, 0, 0);
    derivative->addWidget(buddyLabel(tr("&Krt form:"), m_derivative));
    derivative->addWidget(m_derivative, 1);
    derivative->addWidget(buddyLabel(tr("Ge&nder:"), m_derivativeGender));
    derivative->addWidget(m_derivativeGender);

    for (QComboBox *box : {m_gender, m_pada, m_tense, m_derived, m_derivative, m_derivativeGender})
        connect(box, &QComboBox::currentIndexChanged, this, &WordFormsWindow::updateTable);
    connect(m_class, &QSpinBox::valueChanged, this, &WordFormsWindow::updateTable);
    connect(m_passive, &QCheckBox::toggled, this, &WordFormsWindow::updateTable);
    auto *row = new QVBoxLayout;
    row->addWidget(m_nounClass);
    row->addWidget(m_verbClass);
    row->addWidget(m_derivativeRow);
    return row;
}

// A word of another stem starts with the first form of the present; the same stem keeps the
// tense and the cell the translator was at.
void WordFormsWindow::lookUp(const QString &word, const QTextCursor &replaced, const QString &tag)
{
    m_replaced = replaced;
    m_replacedText = replaced.selectedText();
    m_punctuation = splitSentencePunctuation(word);
    m_taggedWord = m_punctuation.word;
    m_tag = tag;
    const QString stemBefore = readingStem();
    const Analyser *analyser = m_analyser ? m_analyser() : nullptr;
    const QList<WordReading> readings =
        analyser ? analyser->analyse(m_punctuation.word) : QList<WordReading>();
    // A participle, gerund or infinitive opens on its root with the krt box on its form.
    const bool inflected =
        !readings.isEmpty() && readings.first().kind != ReadingKind::Indeclinable;
    // Grammar the dictionary states beside the word outranks the analyser's reading of it.
    if (inflected && tag.isEmpty()) {
        // The word's own reading chooses the table and its cell.
        m_word->setText(readings.first().lemma);
        wordEdited();
        showReading(readings.first(), m_punctuation.word);
    } else {
        m_word->setText(m_punctuation.word);
        wordEdited();
        if (readingStem() != stemBefore)
            startAfresh();
    }
    comeBack();
}

void WordFormsWindow::comeBack()
{
    show();
    raise();
    activateWindow();
    m_table->setFocus();
}

// The kind and the stem or root of the reading chosen; empty without one.
QString WordFormsWindow::readingStem() const
{
    const int index = m_reading->currentIndex();
    if (index < 0 || index >= m_readings.size())
        return {};
    const WordGuess &guess = m_readings.at(index);
    return guess.kind == WordGuess::Kind::Noun ? QStringLiteral("noun ") + guess.noun.stem
                                               : QStringLiteral("verb ") + guess.verb.root;
}

void WordFormsWindow::startAfresh()
{
    {
        const QSignalBlocker tenseBlocker(m_tense);
        const QSignalBlocker passiveBlocker(m_passive);
        const QSignalBlocker derivedBlocker(m_derived);
        selectItemWith(m_tense, Tense::Present);
        m_passive->setChecked(m_statedPassive);
        selectItemWith(m_derived, m_statedDerived);
    }
    m_table->setCurrentIndex({});
    updateTable();
}

// The keyboard stands on the ITRANS cells; the Devanagari beside the current one is selected
// with it, so that the two read as one choice.
void WordFormsWindow::followItransCell()
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid())
        return;
    if (current.column() % 2 != 0) {
        m_table->setCurrentIndex(current.sibling(current.row(), current.column() - 1));
        return;
    }
    const QModelIndex devanagari = current.sibling(current.row(), current.column() + 1);
    m_table->selectionModel()->select(
        QItemSelection(current, devanagari.isValid() ? devanagari : current),
        QItemSelectionModel::ClearAndSelect);
}

// Left and Right go from an ITRANS cell to the next one that holds a form in that direction.
bool WordFormsWindow::stepItransCell(int direction)
{
    const QModelIndex current = m_table->currentIndex();
    if (!current.isValid())
        return false;
    for (int column = current.column() + 2 * direction;
         column >= 0 && column < m_model.columnCount(); column += 2 * direction) {
        const QModelIndex next = m_model.index(current.row(), column);
        if (m_model.flags(next).testFlag(Qt::ItemIsEnabled)) {
            m_table->setCurrentIndex(next);
            break;
        }
    }
    return true;
}

bool WordFormsWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_table && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            (key->key() == Qt::Key_Left || key->key() == Qt::Key_Right))
            return stepItransCell(key->key() == Qt::Key_Right ? 1 : -1);
    }
    return QWidget::eventFilter(watched, event);
}

// The reading the analyser gave, with its tense and voice, and the cell of the written form.
void WordFormsWindow::showReading(const WordReading &reading, const QString &written)
{
    const bool fromRoot = reading.kind != ReadingKind::Noun;
    const auto isOwn = [&reading, fromRoot](const WordGuess &guess) {
        if (fromRoot)
            return guess.kind == WordGuess::Kind::Verb && guess.verb.root == reading.lemma &&
                   guess.verb.verbClass == reading.verbClass;
        return guess.kind == WordGuess::Kind::Noun && guess.noun.stem == reading.lemma &&
               guess.noun.gender == reading.gender;
    };
    qsizetype own =
        std::find_if(m_readings.cbegin(), m_readings.cend(), isOwn) - m_readings.cbegin();
    if (own == m_readings.size()) { // a reading the word field alone does not give (a root's class)
        WordGuess guess;
        guess.kind = fromRoot ? WordGuess::Kind::Verb : WordGuess::Kind::Noun;
        guess.noun = {reading.lemma, reading.gender};
        guess.verb = {reading.lemma, reading.verbClass, reading.pada};
        m_readings.prepend(guess);
        const QSignalBlocker blocker(m_reading);
        m_reading->insertItem(0, readingText(guess));
        own = 0;
    }
    {
        const QSignalBlocker blocker(m_reading);
        m_reading->setCurrentIndex(int(own));
    }
    readingChosen();
    if (reading.kind == ReadingKind::Verb) {
        const QSignalBlocker tenseBlocker(m_tense);
        const QSignalBlocker passiveBlocker(m_passive);
        selectItemWith(m_tense, reading.tense);
        m_passive->setChecked(reading.passive);
        const QSignalBlocker derivedBlocker(m_derived);
        using Derived = VerbRequest::Derived;
        selectItemWith(m_derived, reading.causative      ? Derived::Causative
                                  : reading.desiderative ? Derived::Desiderative
                                                         : Derived::None);
        if (!reading.passive)
            selectItemWith(m_pada, reading.pada);
    }
    const QString form = reading.pausalForm.isEmpty() ? written : reading.pausalForm;
    if (fromRoot && reading.kind != ReadingKind::Verb)
        return showKrtReading(reading, form);
    updateTable();
    selectCellOf(form);
}

// A form made from the root: the krt box on the entry that makes it, in a participle's gender,
// and its cell. The krt box holds the root's own forms, not its causative's: a causative's
// gerund stays on the first entry.
void WordFormsWindow::showKrtReading(const WordReading &reading, const QString &form)
{
    {
        const QSignalBlocker tenseBlocker(m_tense);
        m_tense->setCurrentIndex(m_tense->count() - 1);
    }
    updateTable();
    const QString kind = reading.kind == ReadingKind::Gerund       ? QStringLiteral("gerund")
                         : reading.kind == ReadingKind::Infinitive ? QStringLiteral("infinitive")
                                                                   : reading.participleKind;
    for (int entry = 0; entry < m_derivative->count(); ++entry) {
        const QString name = m_derivative->itemData(entry).toString();
        if (name != kind && name != kind + QStringLiteral(" participle"))
            continue;
        {
            const QSignalBlocker entryBlocker(m_derivative);
            const QSignalBlocker genderBlocker(m_derivativeGender);
            m_derivative->setCurrentIndex(entry);
            selectItemWith(m_derivativeGender, reading.gender);
        }
        updateTable();
        if (selectCellOf(form))
            return;
    }
}

// The table's cell that holds the form, made current; false when none does.
bool WordFormsWindow::selectCellOf(const QString &form)
{
    const QString key = formKeyOfItrans(form);
    for (int row = 0; row < m_model.rowCount(); ++row) {
        for (int column = 0; column < m_model.columnCount(); ++column) {
            const QModelIndex index = m_model.index(row, column);
            if (!m_model.formAt(index).isEmpty() && formKeyOfItrans(m_model.formAt(index)) == key) {
                m_table->setCurrentIndex(index);
                return true;
            }
        }
    }
    return false;
}

// The stems and roots the analyser reads the word as, best first, each once.
QList<WordGuess> WordFormsWindow::knownReadings(const QString &word) const
{
    const Analyser *analyser = m_analyser ? m_analyser() : nullptr;
    QList<WordGuess> known;
    if (!analyser)
        return known;
    for (const WordReading &reading : analyser->analyse(word)) {
        WordGuess guess;
        if (reading.kind == ReadingKind::Noun) {
            guess.noun = {reading.lemma, reading.gender};
        } else if (reading.kind == ReadingKind::Verb) {
            guess.kind = WordGuess::Kind::Verb;
            guess.verb = {reading.lemma, reading.verbClass, reading.pada};
        } else {
            continue;
        }
        const bool seen = std::any_of(known.cbegin(), known.cend(), [&](const WordGuess &g) {
            return g.kind == guess.kind && g.noun.stem == guess.noun.stem &&
                   g.noun.gender == guess.noun.gender && g.verb.root == guess.verb.root &&
                   g.verb.verbClass == guess.verb.verbClass;
        });
        if (!seen)
            known.append(guess);
    }
    return known;
}

QString WordFormsWindow::readingText(const WordGuess &guess) const
{
    if (guess.kind == WordGuess::Kind::Noun)
        return tr("noun stem %1, %2")
            .arg(guess.noun.stem, m_gender->itemText(itemWith(m_gender, guess.noun.gender)));
    return tr("verb root %1, class %2, %3")
        .arg(guess.verb.root)
        .arg(guess.verb.verbClass)
        .arg(m_pada->itemText(itemWith(m_pada, guess.verb.pada)));
}

// Every keystroke in the word field guesses again; besides the guesses, the word itself may
// be taken as a stem or a root, for words the guesser does not know.
void WordFormsWindow::wordEdited()
{
    const QString word = m_word->text().trimmed();
    // The grammar the dictionary states beside the word leads, then what the analyser knows;
    // the guess's own stems come last: an invented stem never leads.
    m_readings.clear();
    const StatedGrammar stated = !word.isEmpty() && word == m_taggedWord && !m_tag.isEmpty()
                                     ? parseStatedGrammar(m_tag)
                                     : StatedGrammar();
    const QList<WordGuess> statedFirst = statedReadings(word, stated);
    appendNewReadings(m_readings, statedFirst);
    applyStatedVerb(stated, !statedFirst.isEmpty());
    if (!word.isEmpty()) {
        appendNewReadings(m_readings, knownReadings(word));
        appendNewReadings(m_readings, guessWord(word));
    }
    const auto guessed = [this, &word](WordGuess::Kind kind) {
        return std::any_of(m_readings.cbegin(), m_readings.cend(), [&](const WordGuess &guess) {
            return guess.kind == kind &&
                   (kind == WordGuess::Kind::Noun ? guess.noun.stem : guess.verb.root) == word;
        });
    };
    if (!word.isEmpty() && !guessed(WordGuess::Kind::Noun))
        m_readings.append({WordGuess::Kind::Noun, {word, Gender::Masculine}, {}});
    if (!word.isEmpty() && !guessed(WordGuess::Kind::Verb))
        m_readings.append({WordGuess::Kind::Verb, {}, {word, 1, Pada::Parasmaipada}});
    const QSignalBlocker blocker(m_reading);
    m_reading->clear();
    for (const WordGuess &guess : m_readings)
        m_reading->addItem(readingText(guess));
    readingChosen();
}

// A causative, desiderative or passive the dictionary states is what the table shows first;
// a denominative, which no root's table holds, is said in the status line.
void WordFormsWindow::applyStatedVerb(const StatedGrammar &stated, bool read)
{
    m_statedDerived = read ? stated.derived : VerbRequest::Derived::None;
    m_statedPassive = read && stated.passive;
    m_statedNote = stated.denominative
                       ? tr("The dictionary gives %1 as a denominative (a verb made from a noun); "
                            "its forms are not made here.")
                             .arg(m_taggedWord)
                       : QString();
    if (!read || (stated.derived == VerbRequest::Derived::None && !stated.passive))
        return;
    const QSignalBlocker derivedBlocker(m_derived);
    const QSignalBlocker passiveBlocker(m_passive);
    selectItemWith(m_derived, m_statedDerived);
    m_passive->setChecked(m_statedPassive);
}

void WordFormsWindow::readingChosen()
{
    const int index = m_reading->currentIndex();
    const bool verb = index >= 0 && m_readings.at(index).kind == WordGuess::Kind::Verb;
    m_nounClass->setVisible(index >= 0 && !verb);
    m_verbClass->setVisible(verb);
    m_derivativeRow->setVisible(verb && derivativesChosen());
    if (index >= 0) {
        const WordGuess &guess = m_readings.at(index);
        const QSignalBlocker genderBlocker(m_gender);
        const QSignalBlocker classBlocker(m_class);
        const QSignalBlocker padaBlocker(m_pada);
        selectItemWith(m_gender, guess.noun.gender);
        m_class->setValue(guess.verb.verbClass);
        selectItemWith(m_pada, guess.verb.pada);
    }
    updateTable();
}

// The table keeps its current cell across updates where the new paradigm has one there.
void WordFormsWindow::updateTable()
{
    const QModelIndex current = m_table->currentIndex();
    const int index = m_reading->currentIndex();
    QString status; // the reason for no table, or a note on it
    if (index < 0) {
        m_model.clear();
    } else if (m_readings.at(index).kind == WordGuess::Kind::Noun) {
        const auto inflection =
            declineNoun(m_readings.at(index).noun.stem, chosenValue<Gender>(m_gender));
        inflection.ok() ? m_model.setParadigm(inflection.paradigm) : m_model.clear();
        QStringList stems = inflection.derivedStems;
        for (qsizetype i = 0; i < inflection.derivedStemUses.size() && i < stems.size(); ++i)
            stems[i] += tr(" (%1)").arg(inflection.derivedStemUses.at(i));
        status = inflection.ok() && !stems.isEmpty()
                     ? (stems.size() > 1 ? tr("(feminine stems %1)") : tr("(feminine stem %1)"))
                           .arg(stems.join(QStringLiteral(", ")))
                     : inflection.error;
    } else if (derivativesChosen()) {
        status = showDerivative(m_readings.at(index).verb);
    } else {
        status = showVerb(m_readings.at(index).verb);
    }
    if (!m_statedNote.isEmpty())
        status = status.isEmpty() ? m_statedNote : m_statedNote + u' ' + status;
    m_status->setText(m_word->text().trimmed().isEmpty()
                          ? tr("Type a word, or press Ctrl+K on a word in the ITRANS pane.")
                          : status);
    QModelIndex next = m_model.index(current.isValid() ? current.row() : 0,
                                     current.isValid() ? current.column() : 0);
    if (!m_model.flags(next).testFlag(Qt::ItemIsEnabled))
        next = m_model.index(0, 0);
    m_table->setCurrentIndex(next);
}

bool WordFormsWindow::derivativesChosen() const
{
    return m_tense->currentIndex() >= 0 && !m_tense->currentData().isValid();
}

QString WordFormsWindow::showVerb(const VerbCandidate &verb)
{
    m_derivativeRow->setVisible(false);
    m_pada->setEnabled(true);
    m_passive->setEnabled(true);
    m_derived->setEnabled(true);
    VerbRequest request{verb.root, m_class->value(), chosenValue<Pada>(m_pada),
                        chosenValue<Tense>(m_tense), m_passive->isChecked()};
    request.derived = chosenValue<VerbRequest::Derived>(m_derived);
    const auto inflection = conjugate(request);
    inflection.ok() ? m_model.setParadigm(inflection.paradigm) : m_model.clear();
    return inflection.error;
}

// The forms made from the root fill the krt box, each form an entry of its own; a participle
// or gerundive is declined in the gender chosen, a gerund or infinitive shown as it is.
QString WordFormsWindow::showDerivative(const VerbCandidate &verb)
{
    m_derivativeRow->setVisible(true);
    m_pada->setEnabled(false);
    m_passive->setEnabled(false);
    m_derived->setEnabled(false);
    const RootDerivatives made = rootDerivatives(verb.root, m_class->value());
    struct Entry
    {
        QString name, form;
        bool isStem;
    };
    QList<Entry> entries;
    for (const RootDerivative &derivative : made.derivatives)
        for (const QString &form : derivative.forms)
            entries.append({derivative.name, form, derivative.isStem});
    {
        const QSignalBlocker blocker(m_derivative);
        const QString before = m_derivative->currentText();
        m_derivative->clear();
        for (const Entry &entry : entries)
            m_derivative->addItem(tr("%1: %2").arg(entry.name, entry.form), entry.name);
        m_derivative->setCurrentIndex(qMax(0, m_derivative->findText(before)));
    }
    const int chosen = m_derivative->currentIndex();
    if (!made.ok() || chosen < 0) {
        m_model.clear();
        return made.ok() ? tr("No form made from this root is known.") : made.error;
    }
    const Entry &entry = entries.at(chosen);
    if (!entry.isStem) {
        m_model.setIndeclinable(entry.name, {entry.form});
        return tr("%1 %2 is not declined.").arg(entry.name, entry.form);
    }
    const auto declined = declineDerivative(entry.form, chosenValue<Gender>(m_derivativeGender));
    declined.ok() ? m_model.setParadigm(declined.paradigm) : m_model.clear();
    if (!declined.ok())
        return declined.error;
    if (declined.derivedStems.isEmpty())
        return tr("%1 %2").arg(entry.name, entry.form);
    return tr("%1 %2 (feminine stem %3)")
        .arg(entry.name, entry.form, declined.derivedStems.first());
}

QString WordFormsWindow::chosenForm() const
{
    return m_model.formAt(m_table->currentIndex());
}

// The word the form came from is replaced only while the pane still holds it there; otherwise
// the form goes in at the pane's cursor, and nothing the user typed meanwhile is overwritten.
// The inserted form becomes the word a second choice replaces.
void WordFormsWindow::insertChosenForm()
{
    const QString form = chosenForm();
    if (form.isEmpty())
        return;
    QTextCursor where = m_replaced;
    QString text = m_punctuation.before + form + m_punctuation.after;
    if (where.isNull() || !where.hasSelection() || where.selectedText() != m_replacedText) {
        where = m_pane->textCursor();
        text = form;
        m_punctuation = {};
    }
    insertItransWord(m_pane, where, text);
    // The keyboard goes back to the translation, where the user goes on typing.
    m_pane->activateWindow();
    m_replaced = m_pane->textCursor();
    m_replaced.movePosition(QTextCursor::PreviousCharacter, QTextCursor::KeepAnchor,
                            int(text.size()));
    m_replacedText = m_replaced.selectedText();
    emit formInserted();
}

void WordFormsWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape)
        close();
    else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        insertChosenForm();
    else
        QWidget::keyPressEvent(event);
}

void WordFormsWindow::closeEvent(QCloseEvent *event)
{
    QWidget::closeEvent(event);
    emit closed();
}

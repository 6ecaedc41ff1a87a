// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analyser.h"
#include "itranstext.h"
#include "rootderivatives.h"
#include "statedgrammar.h"
#include "wordformsmodel.h"
#include "wordguess.h"

#include <QTextCursor>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QSpinBox;
class QTableView;

// A window beside the main window with the forms of one word: the word, the reading the
// guesser gives it (changeable), and its paradigm in ITRANS and Devanagari. Enter or a double
// click puts the chosen form into the ITRANS pane in place of the word it came from.
class WordFormsWindow : public QWidget
{
    Q_OBJECT

public:
    WordFormsWindow(QPlainTextEdit *pane, QWidget *parent);

    // Shows the forms of a word and takes the keyboard. A word of the pane comes with the cursor
    // that selects it there, the sentence's punctuation around it included, which the form
    // keeps; a word from elsewhere comes with a null cursor, and the form goes in at the pane's.
    // tag: the grammar the dictionary states after the word in a meaning ("(1 P)", "(m.)"),
    // read before guessing while the word is the one looked up.
    void lookUp(const QString &word, const QTextCursor &replaced, const QString &tag = {});
    // The form the table's current cell holds, in ITRANS.
    QString chosenForm() const;
    void insertChosenForm();
    // Shows the window as it was left and gives the keyboard to its table.
    void comeBack();
    // Where the readings of a written word come from: the words known to the lexicon lead the
    // guesses, and a word of the pane that the analyser reads opens on its stem or root with
    // its own form's cell chosen. The function may answer null (no analyser yet).
    void setAnalyser(std::function<const vantro::Analyser *()> analyser)
    {
        m_analyser = std::move(analyser);
    }

signals:
    void closed();
    // A chosen form went into the pane, which has the keyboard again.
    void formInserted();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void createWidgets();
    QLayout *createClassRow();
    void wordEdited();
    void readingChosen();
    void applyStatedVerb(const vantro::StatedGrammar &stated, bool read);
    void updateTable();
    QString showVerb(const vantro::VerbCandidate &verb);
    QString showDerivative(const vantro::VerbCandidate &verb);
    bool derivativesChosen() const;
    QString readingText(const vantro::WordGuess &guess) const;
    QString readingStem() const;
    void startAfresh();
    void followItransCell();
    bool stepItransCell(int direction);
    QList<vantro::WordGuess> knownReadings(const QString &word) const;
    void showReading(const vantro::WordReading &reading, const QString &written);
    void showKrtReading(const vantro::WordReading &reading, const QString &form);
    bool selectCellOf(const QString &form);

    QPlainTextEdit *m_pane;
    QLineEdit *m_word = nullptr;
    QComboBox *m_reading = nullptr;
    QWidget *m_nounClass = nullptr;
    QComboBox *m_gender = nullptr;
    QWidget *m_verbClass = nullptr;
    QSpinBox *m_class = nullptr;
    QComboBox *m_pada = nullptr;
    QComboBox *m_tense = nullptr;
    QCheckBox *m_passive = nullptr;
    QComboBox *m_derived = nullptr; // the root itself, its causative or its desiderative
    // The forms made from the root, when the last entry of the tense box asks for them.
    QWidget *m_derivativeRow = nullptr;
    QComboBox *m_derivative = nullptr;
    QComboBox *m_derivativeGender = nullptr;
    QTableView *m_table = nullptr;
    QLabel *m_status = nullptr;
    WordFormsModel m_model;
    QList<vantro::WordGuess> m_readings;
    QString m_taggedWord;
    QString m_tag;
    // The verb the tag says is meant (a causative, a passive), chosen with the root it names,
    // and what the tag says that no table shows (a denominative).
    vantro::VerbRequest::Derived m_statedDerived = vantro::VerbRequest::Derived::None;
    bool m_statedPassive = false;
    QString m_statedNote;
    // The word in the pane the chosen form replaces, while it still reads m_replacedText.
    QTextCursor m_replaced;
    QString m_replacedText;
    vantro::PunctuatedWord m_punctuation;
    std::function<const vantro::Analyser *()> m_analyser;
};

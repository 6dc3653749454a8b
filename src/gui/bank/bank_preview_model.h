#pragma once

#include "core/bank/bank_question.h"
#include "core/program/language_policy.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QPixmap>

// The questions of a bank as the import window's table shows them, one row each: the text,
// the answers with the right one marked, the picture, the category and, for a question that
// cannot become a ticket question, the reason. Rows are made when they are looked at, so a
// bank of thousands of questions shows at once.
class BankPreviewModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Number, Text, Answers, Picture, Category, Reason, ColumnCount };

    explicit BankPreviewModel(const LanguagePolicy &language, QObject *parent = nullptr);

    void setQuestions(BankQuestions questions);
    const BankQuestions &questions() const { return m_questions; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // The mark before the right answer in the answers column.
    static QString rightMark();

private:
    QPixmap thumbnail(int row) const;

    LanguagePolicy m_language;
    BankQuestions m_questions;
    // Pictures are made small when their rows are shown, and kept for the rows near them.
    mutable QCache<int, QPixmap> m_thumbnails{200};
};

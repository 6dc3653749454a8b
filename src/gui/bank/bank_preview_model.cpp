#include "gui/bank/bank_preview_model.h"

#include <QBrush>
#include <QColor>
#include <QImage>

using namespace Qt::StringLiterals;

namespace {

constexpr int ThumbnailHeight = 48;

} // namespace

BankPreviewModel::BankPreviewModel(const LanguagePolicy &language, QObject *parent)
    : QAbstractTableModel(parent), m_language(language)
{
}

void BankPreviewModel::setQuestions(BankQuestions questions)
{
    beginResetModel();
    m_questions = std::move(questions);
    m_thumbnails.clear();
    endResetModel();
}

int BankPreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_questions.size());
}

int BankPreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString BankPreviewModel::rightMark()
{
    return u"✔ "_s;
}

QVariant BankPreviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_questions.size())
        return {};
    const BankQuestion &question = m_questions.at(index.row());
    if (role == Qt::DisplayRole || role == Qt::ToolTipRole) {
        switch (index.column()) {
        case Number:
            return index.row() + 1;
        case Text:
            return question.text;
        case Answers: {
            QStringList lines;
            for (int i = 0; i < question.answers.size(); ++i)
                lines << (i == question.right ? rightMark() : u"    "_s) + question.answers.at(i);
            return lines.join(u'\n');
        }
        case Picture:
            if (role == Qt::ToolTipRole || question.picture.isEmpty())
                return question.pictureName;
            return QVariant();
        case Category:
            return question.category;
        case Reason:
            return refusalText(question.refusal, m_language);
        }
    }
    if (role == Qt::DecorationRole && index.column() == Picture && !question.picture.isEmpty())
        return thumbnail(index.row());
    if (role == Qt::ForegroundRole && !question.isTaken())
        return QBrush(QColor(170, 0, 0));
    if (role == Qt::TextAlignmentRole)
        return QVariant(Qt::AlignLeft | Qt::AlignTop);
    return {};
}

QVariant BankPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case Number:
        return u"№"_s;
    case Text:
        return m_language.text(u"Вопрос"_s, u"Question"_s);
    case Answers:
        return m_language.text(u"Ответы (✔ правильный)"_s, u"Answers (✔ right)"_s);
    case Picture:
        return m_language.text(u"Картинка"_s, u"Picture"_s);
    case Category:
        return m_language.text(u"Категория"_s, u"Category"_s);
    case Reason:
        return m_language.text(u"Почему не войдет в билеты"_s, u"Why not in tickets"_s);
    }
    return {};
}

QPixmap BankPreviewModel::thumbnail(int row) const
{
    if (QPixmap *cached = m_thumbnails.object(row))
        return *cached;
    QImage image;
    image.loadFromData(m_questions.at(row).picture);
    auto *small = new QPixmap(image.isNull() ? QPixmap()
                                             : QPixmap::fromImage(image.scaledToHeight(ThumbnailHeight,
                                                                                       Qt::SmoothTransformation)));
    const QPixmap result = *small;
    m_thumbnails.insert(row, small);
    return result;
}

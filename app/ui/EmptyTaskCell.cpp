#include "ui/EmptyTaskCell.h"

#include <QLabel>
#include <QVBoxLayout>

#include "ui/EmptyTaskAdapter.h"
#include "ui/SvgPixmap.h"

namespace {

// A style sheet rather than a palette: the list's own style sheet would override a palette.
void paint(QLabel* label, const char* color)
{
    label->setStyleSheet(QStringLiteral("color: %1;").arg(QString::fromLatin1(color)));
}

} // namespace

EmptyTaskCell::EmptyTaskCell(QWidget* parent)
    : QWidget(parent)
    , m_labelIcon(new QLabel(this))
    , m_labelTitle(new QLabel(this))
    , m_labelTagline(new QLabel(this))
{
    m_labelIcon->setAlignment(Qt::AlignCenter);
    m_labelIcon->setPixmap(
        SvgPixmap::tinted(QStringLiteral("Tasks-Add"), QSize(28, 28), QColor(0xbb, 0xbb, 0xbb)));

    m_labelTitle->setAlignment(Qt::AlignCenter);
    QFont font = m_labelTitle->font();
    if (font.pointSizeF() > 0)
        font.setPointSizeF(font.pointSizeF() + 2);
    font.setWeight(QFont::DemiBold);
    m_labelTitle->setFont(font);
    paint(m_labelTitle, "#313131");

    m_labelTagline->setAlignment(Qt::AlignCenter);
    m_labelTagline->setWordWrap(true);
    paint(m_labelTagline, "#999999");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 16, 32, 16);
    layout->setSpacing(6);
    layout->addStretch(1);
    layout->addWidget(m_labelIcon);
    layout->addSpacing(4);
    layout->addWidget(m_labelTitle);
    layout->addWidget(m_labelTagline);
    layout->addStretch(1);
}

void EmptyTaskCell::configure(const EmptyTaskAdapter& adapter)
{
    m_labelTitle->setText(adapter.title);
    m_labelTagline->setText(adapter.tagline);
}

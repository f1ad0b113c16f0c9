#pragma once

#include <QAbstractButton>
#include <QColor>

// A round colour button of the task creator. It leaves room around its disc for the creator's
// marker and for its own focus ring, drawn outside the marker so both can show at once.
class ColorSwatch : public QAbstractButton {
    Q_OBJECT
public:
    static constexpr int discDiameter = 28;
    static constexpr int side = 46;

    explicit ColorSwatch(const QColor& color, QWidget* parent = nullptr);

    QColor color() const { return m_color; }
    QSize sizeHint() const override { return {side, side}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool hitButton(const QPoint& pos) const override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QColor m_color;
};

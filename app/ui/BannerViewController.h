#pragma once

#include <optional>

#include <QString>
#include <QWidget>

#include "timer/WeakDelegate.h"
#include "ui/BannerDelegate.h"

class QLabel;
class QPushButton;

// The red strip laid over the top of the popover with a short warning and a close button.
// Where it sits (shown or hidden) is the container's business.
class BannerViewController : public QWidget {
    Q_OBJECT
public:
    static constexpr int bannerHeight = 50;

    explicit BannerViewController(QWidget* parent = nullptr);

    BannerDelegate* delegate() const { return m_delegate.get(); }
    void setDelegate(BannerDelegate* delegate) { m_delegate.set(delegate); }

    std::optional<QString> message() const { return m_message; }
    void setMessage(const std::optional<QString>& message);

    QLabel* labelMessage() const { return m_labelMessage; }
    QPushButton* buttonClose() const { return m_buttonClose; }

    void handleCloseButtonClick();

private:
    QLabel* m_labelMessage;
    QPushButton* m_buttonClose;
    WeakDelegate<BannerDelegate> m_delegate;
    std::optional<QString> m_message;
};

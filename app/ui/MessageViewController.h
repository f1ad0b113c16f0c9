#pragma once

#include <functional>

#include <QString>
#include <QUrl>
#include <QWidget>

#include "timer/WeakDelegate.h"
#include "ui/ContainerTransitionDelegate.h"

class QLabel;
class QPushButton;

// A full-screen message of the popover: an illustration, a title, a text, a close button and,
// for some messages, a call to action.
class MessageViewController : public QWidget {
    Q_OBJECT
public:
    enum class Kind { welcome };

    explicit MessageViewController(QWidget* parent = nullptr);

    ContainerTransitionDelegate* transitionDelegate() const { return m_transitionDelegate.get(); }
    void setTransitionDelegate(ContainerTransitionDelegate* delegate)
    {
        m_transitionDelegate.set(delegate);
    }

    void configure(Kind kind);

    // Run by the call-to-action button.
    std::function<void()> action;

    QLabel* imageHero() const { return m_imageHero; }
    QLabel* labelTitle() const { return m_labelTitle; }
    QLabel* labelDescription() const { return m_labelDescription; }
    QPushButton* buttonClose() const { return m_buttonClose; }
    QPushButton* buttonCallToAction() const { return m_buttonCallToAction; }
    // The image resource shown as the illustration ("EmptyWelcome").
    QString heroImageName() const { return m_heroImageName; }

    static QUrl storePageUrl();
    // Opens the application's page in the default browser.
    void openStorePage();

    void handleCloseButtonClick();
    void handleCallToActionButtonClick();

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void setHeroImage(const QString& name);

    QLabel* m_imageHero;
    QLabel* m_labelTitle;
    QLabel* m_labelDescription;
    QPushButton* m_buttonClose;
    QPushButton* m_buttonCallToAction;
    QString m_heroImageName;
    WeakDelegate<ContainerTransitionDelegate> m_transitionDelegate;
};

#pragma once

#include <QObject>
#include <QPointer>

// A delegate held weakly: one that is a QObject is forgotten as soon as it is destroyed.
template <typename Delegate> class WeakDelegate {
public:
    void set(Delegate* delegate)
    {
        m_delegate = delegate;
        m_object = dynamic_cast<QObject*>(delegate);
        m_isObject = m_object != nullptr;
    }

    Delegate* get() const { return m_isObject && !m_object ? nullptr : m_delegate; }

private:
    Delegate* m_delegate = nullptr;
    QPointer<QObject> m_object;
    bool m_isObject = false;
};

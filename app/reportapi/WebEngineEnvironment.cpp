#include "reportapi/WebEngineEnvironment.h"

#include <unistd.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QOpenGLContext>

// QtGui's setter of the global share context; exported, declared only in a private header.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

void WebEngineEnvironment::prepare()
{
    static bool prepared = false;
    if (prepared)
        return;
    prepared = true;

    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");

    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ||
        QOpenGLContext::globalShareContext())
        return;
    auto* context = new QOpenGLContext(QCoreApplication::instance());
    context->create();
    qt_gl_set_global_share_context(context);
}

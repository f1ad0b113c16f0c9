#pragma once

// Prepares the process for a web engine that is loaded from a plugin after the
// application object exists.
class WebEngineEnvironment {
public:
    // Call before the plugin is loaded; does its work once.
    //
    // The engine's sandbox cannot run as root, so it is turned off for root only.
    //
    // The engine renders through the global shared OpenGL context, which Qt creates only
    // when Qt::AA_ShareOpenGLContexts is set before the application object. Setting it
    // from the start costs every run of the program memory whether or not a report is ever
    // opened, so the context is made here instead, when a report is first shown. Without
    // it the engine warns and then crashes when it makes its first page; with one that
    // could not be created (no OpenGL, e.g. the offscreen platform without a display) it
    // falls back to software rendering.
    static void prepare();
};

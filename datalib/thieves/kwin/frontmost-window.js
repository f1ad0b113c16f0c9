// Loaded into KWin by Zestra: tells Zestra's scanner the desktop file of each window that
// becomes active. Plasma 6 names windows "window", Plasma 5 "client".
function report(window) {
    var name = "";
    if (window)
        name = String(window.desktopFileName || window.resourceClass || "");
    callDBus("@SERVICE@", "@PATH@", "@INTERFACE@", "report", name);
}

if (workspace.windowActivated !== undefined) {
    workspace.windowActivated.connect(report);
    report(workspace.activeWindow);
} else {
    workspace.clientActivated.connect(report);
    report(workspace.activeClient);
}

#pragma once

// Registers the compiled-in resource bundle (":/trayIcon", translations) once. Windows that use
// the tray icon call it, since they may be built before the language is installed.
void ensureFrameworkResources();

#pragma once
// Registers the main window's pictures. A static library's resources are
// only found after this has run once; it is safe to call again.

void InitMainWindowResources();

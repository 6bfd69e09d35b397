#pragma once
// Registers the pictures of the about library. A static library's resources
// are only found after this has run once; it is safe to call again.

void InitAboutResources();

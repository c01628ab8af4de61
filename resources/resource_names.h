// Names of the program's resources, shared by the resource script and the code.
#pragma once

#define DEFAULT_ICON_NAME "DEFAULT_ICON"
#define PICTURE_RESOURCE 101
#define TRAY_ICON_RESOURCE 102

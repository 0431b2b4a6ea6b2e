// Ids of the program's resources, shared by its C++ code and by kestrune.rc (plain #defines, so
// the resource compiler reads them too).
#ifndef KESTRUNE_RESOURCES_RESOURCE_IDS_H
#define KESTRUNE_RESOURCES_RESOURCE_IDS_H

// The program icon has the lowest id: Explorer and the task bar show the executable's first icon.
#define IDI_PROGRAM 1
// The main window's own icon (WM_SETICON).
#define IDI_FORM 2
// The 16x16 folder image every node of the folder tree shows; its mask makes it transparent.
#define IDI_FOLDER 3

#endif

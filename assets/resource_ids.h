// Resource ids shared by the resource script and the program.
#pragma once

#define IDI_APP 1
#define IDI_NETWORK_DRIVE_PICTURE 101
#define IDI_WARNING_PICTURE 102

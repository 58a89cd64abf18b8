#pragma once

#define IDI_HUEVANE 1
#define IDC_LINK_HAND 101

#define HUEVANE_VERSION_NUMBERS 1, 0, 0, 0
#define HUEVANE_VERSION_TEXT "1.00"
#define HUEVANE_COMPANY "Dresk Industries"
#define HUEVANE_PRODUCT "Huevane"
#define HUEVANE_FILE_NAME "Huevane.exe"

#pragma once

#include "huevane_version.h"

#define IDI_HUEVANE 1
#define IDC_LINK_HAND 101

#define HUEVANE_COMPANY "Dresk Industries"
#define HUEVANE_PRODUCT "Huevane"
#define HUEVANE_FILE_NAME "Huevane.exe"

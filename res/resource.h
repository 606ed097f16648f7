// Resource ids of the program.
#pragma once

#define IDD_ABOUTBOX 100
#define IDD_BRIGHTSWEEP 102
#define IDI_BRIGHTSWEEP 128
#define IDB_SKIN 145
#define IDC_LINKCURSOR 183

#define IDC_LOG 1006
#define IDC_STATUS 1007
#define IDC_HOMEPAGE 1059
#define IDC_STATIC -1

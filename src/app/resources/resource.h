#pragma once
#define IDI_TAVIMO 1
#define IDI_CDROM 2

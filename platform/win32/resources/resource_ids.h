// Resource ids shared by the resource script and the code.
#pragma once

#define MORVANE_APP_ICON_ID 1

#ifdef __cplusplus
inline constexpr int kAppIconId = MORVANE_APP_ICON_ID;
#endif

// Identifiers of the source's resources, shared by the resource script and the code.
#pragma once

#define IDI_CAMERA 118

// Everything of the framework and the operating system that the library uses.
#pragma once

#include "platform/archive.h"
#include "platform/arrays.h"
#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/file.h"
#include "platform/msgbox.h"
#include "platform/object.h"
#include "platform/oblist.h"
#include "platform/types.h"
#include "platform/winapi.h"

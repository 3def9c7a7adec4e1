// ORVADA: read-only access to books of the ORVA format. A host includes this one
// header and links orvada::orvada.
#pragma once

#include "orvada/book_base.h"
#include "orvada/caret.h"
#include "orvada/concord_records.h"
#include "orvada/file_base.h"
#include "orvada/lang_text.h"
#include "orvada/media_file.h"
#include "orvada/sections_data.h"
#include "orvada/sections_records.h"
#include "orvada/text_records.h"
#include "orvada/sync_records.h"
#include "orvada/verses_records.h"
#include "orvada/version_record.h"
#include "platform/arrays.h"
#include "platform/cstring.h"
#include "platform/exceptions.h"
#include "platform/msgbox.h"
#include "platform/types.h"

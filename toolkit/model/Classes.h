#pragma once

// The component toolkit's non-visual core in one include: objects and classes,
// published properties, components, string lists, collections and form descriptions.
// All names are in the global namespace, spelled as the classic toolkit spells them.

#include "toolkit/model/ClassBuilder.h"
#include "toolkit/model/ClassRegistry.h"
#include "toolkit/model/Collection.h"
#include "toolkit/model/Component.h"
#include "toolkit/model/Events.h"
#include "toolkit/model/Exceptions.h"
#include "toolkit/model/Filer.h"
#include "toolkit/model/FormStreaming.h"
#include "toolkit/model/Identifiers.h"
#include "toolkit/model/Object.h"
#include "toolkit/model/Persistent.h"
#include "toolkit/model/PropAccess.h"
#include "toolkit/model/Reader.h"
#include "toolkit/model/Sets.h"
#include "toolkit/model/StringList.h"
#include "toolkit/model/Strings.h"
#include "toolkit/model/TypeInfo.h"
#include "toolkit/model/Variant.h"
#include "toolkit/model/Writer.h"

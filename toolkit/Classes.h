#pragma once

// The component toolkit's non-visual core in one include: objects and classes,
// published properties, components, string lists, collections and form descriptions.
// All names are in the global namespace, spelled as the classic toolkit spells them.

#include "toolkit/ClassBuilder.h"
#include "toolkit/ClassRegistry.h"
#include "toolkit/Collection.h"
#include "toolkit/Component.h"
#include "toolkit/Events.h"
#include "toolkit/Exceptions.h"
#include "toolkit/Filer.h"
#include "toolkit/FormStreaming.h"
#include "toolkit/Identifiers.h"
#include "toolkit/Object.h"
#include "toolkit/Persistent.h"
#include "toolkit/PropAccess.h"
#include "toolkit/Reader.h"
#include "toolkit/Sets.h"
#include "toolkit/StringList.h"
#include "toolkit/Strings.h"
#include "toolkit/TypeInfo.h"
#include "toolkit/Variant.h"
#include "toolkit/Writer.h"

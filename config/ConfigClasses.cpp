#include "config/ConfigClasses.h"

#include "config/ConfigFile.h"
#include "toolkit/ClassRegistry.h"

void RegisterConfigClasses() {
  RegisterClasses({TConfigFile::StaticClass()});
}

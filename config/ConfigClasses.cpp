#include "config/ConfigClasses.h"

#include "config/ConfigFile.h"
#include "toolkit/model/ClassRegistry.h"

void RegisterConfigClasses() {
  RegisterClasses({TConfigFile::StaticClass()});
}

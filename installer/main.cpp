// Until the installer window exists, the program reports what it sees of the Windows machine.
#include <cstdio>

int main() {
  std::puts("Setup");
  return 0;
}

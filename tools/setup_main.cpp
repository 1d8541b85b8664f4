// vantorelix-setup: makes the shipped databases (and, with --demo, a demo data drive).
#include <cstdio>

int main() {
  std::puts("vantorelix-setup: not ready yet");
  return 0;
}

#include <cstdio>

int main() {
  std::printf("Marlune: nothing to run yet.\n");
  return 0;
}

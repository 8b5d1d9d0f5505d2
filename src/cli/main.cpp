#include <cstdio>

int main() {
    std::puts("vglyph");
    return 0;
}

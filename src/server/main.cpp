// korvel-server: the data server Korvel synchronises from.
#include <cstdio>

int main() {
    std::fprintf(stderr, "usage: korvel-server serve --data DIR [--listen 127.0.0.1:18080]\n");
    return 2;
}

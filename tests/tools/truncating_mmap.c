// Preloaded into dibdump by its tests: every mapping of a ".bmp" file is
// followed at once by another writer cutting that file to 100 bytes, so the
// loader reads a file that shrank under it.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <string.h>
#include <sys/mman.h>
#include <unistd.h>

void* mmap(void* address, size_t length, int protection, int flags, int fd, off_t offset) {
    void* (*real)(void*, size_t, int, int, int, off_t) = dlsym(RTLD_NEXT, "mmap");
    void* mapped = real(address, length, protection, flags, fd, offset);
    char link[64], path[4096];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t size = fd >= 0 ? readlink(link, path, sizeof path - 1) : -1;
    if (mapped != MAP_FAILED && size > 4) {
        path[size] = '\0';
        if (strcmp(path + size - 4, ".bmp") == 0 && truncate(path, 100) != 0) {
            perror("truncate");
        }
    }
    return mapped;
}

#include "dib/windows/page_error_watch.h"

#include <windows.h>

#include <algorithm>
#include <mutex>
#include <vector>

struct PageErrorWatchList {
    static inline std::mutex lock;
    static inline std::vector<PageErrorWatch*> watches;

    static void Add(PageErrorWatch* watch) {
        static std::once_flag installed;
        std::call_once(installed, [] { AddVectoredExceptionHandler(1, OnException); });
        const std::lock_guard held(lock);
        watches.push_back(watch);
    }

    static void Remove(PageErrorWatch* watch) {
        const std::lock_guard held(lock);
        watches.erase(std::find(watches.begin(), watches.end(), watch));
    }

    static LONG CALLBACK OnException(EXCEPTION_POINTERS* exception) {
        // Wine raises an access violation instead, for a file cut short under
        // it by a process of the host's: a read of a view that is only read.
        const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
        const bool lostPage = record.ExceptionCode == EXCEPTION_IN_PAGE_ERROR ||
                              (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2 &&
                               record.ExceptionInformation[0] == 0);
        if (!lostPage || record.NumberParameters < 2) {
            return EXCEPTION_CONTINUE_SEARCH;
        }
        const auto address = reinterpret_cast<const std::uint8_t*>(record.ExceptionInformation[1]);
        const std::lock_guard held(lock);
        for (PageErrorWatch* watch : watches) {
            if (address < watch->view_ || address - watch->view_ >= static_cast<std::ptrdiff_t>(watch->size_)) {
                continue;
            }
            // The whole view goes: a view cannot be unmapped in part. The
            // zeros take its addresses at once, before anyone else can.
            if (!watch->zeros_) {
                void* base = const_cast<std::uint8_t*>(watch->view_);
                UnmapViewOfFile(base);
                if (VirtualAlloc(base, watch->size_, MEM_RESERVE | MEM_COMMIT, PAGE_READONLY) != base) {
                    return EXCEPTION_CONTINUE_SEARCH;
                }
                watch->zeros_ = true;
            }
            return EXCEPTION_CONTINUE_EXECUTION;
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }
};

PageErrorWatch::PageErrorWatch(const void* view, std::size_t size)
    : view_(static_cast<const std::uint8_t*>(view)), size_(size) {
    try {
        PageErrorWatchList::Add(this);
    } catch (...) {
        UnmapViewOfFile(view);
        throw;
    }
}

PageErrorWatch::~PageErrorWatch() {
    PageErrorWatchList::Remove(this);
    void* base = const_cast<std::uint8_t*>(view_);
    if (zeros_) {
        VirtualFree(base, 0, MEM_RELEASE);
    } else {
        UnmapViewOfFile(base);
    }
}

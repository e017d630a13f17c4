#pragma once

#include <cstddef>
#include <cstdint>

// A read-only view of a file, unmapped when it goes, watched for pages the
// file can no longer give.
//
// A network file may fail a page read, and a file may be cut short by a
// process outside Windows' rules (Windows itself refuses to shorten a mapped
// file); reading such a page raises EXCEPTION_IN_PAGE_ERROR (an access
// violation under Wine), which would end the process. While a view is
// watched, a vectored exception handler puts zero pages in its place and
// notes that it did: the read goes on over zeros, and the owner refuses the
// file once it sees Shrank(). An exception for any other address goes on to
// the handlers after ours.
class PageErrorWatch {
public:
    PageErrorWatch(const void* view, std::size_t size);
    ~PageErrorWatch();
    PageErrorWatch(const PageErrorWatch&) = delete;
    PageErrorWatch& operator=(const PageErrorWatch&) = delete;

    const std::uint8_t* Address() const { return view_; }
    std::size_t Size() const { return size_; }
    bool Shrank() const { return zeros_; }

private:
    friend struct PageErrorWatchList;

    const std::uint8_t* view_;
    std::size_t size_;
    bool zeros_ = false;  // the view is gone, zero pages in its place
};

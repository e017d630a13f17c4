#include "dib/linux/shrink_watch.h"

#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <mutex>

// The watched regions of every thread, as a list the handler can walk. Its
// lock is a spin lock on a lock-free flag: the only kind of lock a signal
// handler may take. A thread holds it with SIGBUS blocked, so the handler
// never waits for a lock its own thread holds.
struct ShrinkWatchList {
    static inline std::atomic<ShrinkWatch*> head{nullptr};
    static inline std::atomic_flag locked = ATOMIC_FLAG_INIT;
    static inline std::uintptr_t pageSize = 0;
    static inline struct sigaction previous {};

    class Lock {
    public:
        Lock() {
            while (locked.test_and_set(std::memory_order_acquire)) {
            }
        }
        ~Lock() { locked.clear(std::memory_order_release); }
        Lock(const Lock&) = delete;
        Lock& operator=(const Lock&) = delete;
    };

    // Blocks SIGBUS in this thread while the list changes.
    class BusErrorsHeld {
    public:
        BusErrorsHeld() {
            sigset_t bus;
            sigemptyset(&bus);
            sigaddset(&bus, SIGBUS);
            pthread_sigmask(SIG_BLOCK, &bus, &saved_);
        }
        ~BusErrorsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }
        BusErrorsHeld(const BusErrorsHeld&) = delete;
        BusErrorsHeld& operator=(const BusErrorsHeld&) = delete;

    private:
        sigset_t saved_;
    };

    static void Add(ShrinkWatch* watch) {
        static std::once_flag installed;
        std::call_once(installed, Install);
        const BusErrorsHeld held;
        const Lock lock;
        watch->next_.store(head.load(std::memory_order_relaxed), std::memory_order_relaxed);
        head.store(watch, std::memory_order_relaxed);
    }

    static void Remove(ShrinkWatch* watch) {
        const BusErrorsHeld held;
        const Lock lock;
        std::atomic<ShrinkWatch*>* link = &head;
        while (link->load(std::memory_order_relaxed) != watch) {
            link = &link->load(std::memory_order_relaxed)->next_;
        }
        link->store(watch->next_.load(std::memory_order_relaxed), std::memory_order_relaxed);
    }

    static void Install() {
        pageSize = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
        struct sigaction action {};
        action.sa_sigaction = OnBusError;
        action.sa_flags = SA_SIGINFO | SA_ONSTACK;
        sigemptyset(&action.sa_mask);
        sigaction(SIGBUS, nullptr, &previous);
        sigaction(SIGBUS, &action, nullptr);
    }

    // Zeros over the watched region holding address, from its page to the
    // region's end; false when no watched region holds it.
    static bool ZeroRestOfRegion(std::uintptr_t address) {
        const Lock lock;
        for (ShrinkWatch* watch = head.load(std::memory_order_relaxed); watch != nullptr;
             watch = watch->next_.load(std::memory_order_relaxed)) {
            const std::uintptr_t start = watch->start_.load(std::memory_order_relaxed);
            const std::size_t size = watch->size_.load(std::memory_order_relaxed);
            if (address - start >= size) {
                continue;
            }
            const std::uintptr_t page = address & ~(pageSize - 1);
            const std::uintptr_t end = (start + size + pageSize - 1) & ~(pageSize - 1);
            // mmap is a plain system call here: no lock, no allocation.
            void* zeros = mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                               MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
            if (zeros == MAP_FAILED) {
                return false;
            }
            watch->shrank_.store(true, std::memory_order_release);
            return true;
        }
        return false;
    }

    // A SIGBUS that is not about a watched region: as if we were not here.
    static void Forward(int signal, siginfo_t* info, void* context) {
        if ((previous.sa_flags & SA_SIGINFO) != 0) {
            previous.sa_sigaction(signal, info, context);
            return;
        }
        if (previous.sa_handler == SIG_IGN && info->si_code <= 0) {
            return;  // sent by another process, and ignored before we came
        }
        if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) {
            previous.sa_handler(signal);
            return;
        }
        // The default action, taken as soon as this handler returns.
        struct sigaction defaults {};
        defaults.sa_handler = SIG_DFL;
        sigemptyset(&defaults.sa_mask);
        sigaction(SIGBUS, &defaults, nullptr);
        raise(SIGBUS);
    }

    static void OnBusError(int signal, siginfo_t* info, void* context) {
        const int savedErrno = errno;
        const bool ours = info->si_code == BUS_ADRERR &&
                          ZeroRestOfRegion(reinterpret_cast<std::uintptr_t>(info->si_addr));
        errno = savedErrno;
        if (!ours) {
            Forward(signal, info, context);
        }
    }
};

ShrinkWatch::ShrinkWatch(const void* start, std::size_t size)
    : start_(reinterpret_cast<std::uintptr_t>(start)), size_(size) {
    ShrinkWatchList::Add(this);
}

ShrinkWatch::~ShrinkWatch() { ShrinkWatchList::Remove(this); }

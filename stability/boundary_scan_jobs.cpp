// The jobs are taken in order by whichever thread is free; the caller takes jobs too and, between
// them, reports the finished ones in order. Each scan touches nothing but its own table and the
// stack and thread-local matrices of its thread, so a table does not depend on the thread that
// scanned it.
#include "stability/boundary_scan_jobs.h"

#include "stability/boundary_scan.h"

#if defined(__EMSCRIPTEN__) && !defined(__EMSCRIPTEN_PTHREADS__)
#define PARAVIB_SCAN_THREADS 0
#else
#define PARAVIB_SCAN_THREADS 1
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#endif

namespace {

// Most jobs handled in one round, and most threads: the 22 stored tables fit in one round.
constexpr int max_jobs = 32;

void run_job(const boundary_scan_job& job) {
    boundary_scan(job.kind, job.beta, job.table->counts, job.table->points, job.n);
}

int run_in_turn(const boundary_scan_job* jobs, int count, boundary_scan_ready ready, void* context,
                int first_index) {
    for (int i = 0; i < count; ++i) {
        run_job(jobs[i]);
        if (!ready(first_index + i, context)) return i + 1;
    }
    return count;
}

#if PARAVIB_SCAN_THREADS
struct job_board {
    const boundary_scan_job* jobs;
    int count;
    std::mutex lock;
    std::condition_variable changed;
    int next = 0;  // the first job nobody has taken
    bool done[max_jobs] = {};
    bool stopped = false;
};

// Takes the next job under the lock; -1 when none is left or the work has stopped.
int take_job(job_board& board) {
    std::lock_guard<std::mutex> hold(board.lock);
    if (board.stopped || board.next == board.count) return -1;
    return board.next++;
}

void finish_job(job_board& board, int index) {
    {
        std::lock_guard<std::mutex> hold(board.lock);
        board.done[index] = true;
    }
    board.changed.notify_all();
}

void worker(job_board* board) {
    for (int i = take_job(*board); i >= 0; i = take_job(*board)) {
        run_job(board->jobs[i]);
        finish_job(*board, i);
    }
}

// The caller's part: report what is finished, in order; otherwise scan a job of its own, or wait.
int report_in_order(job_board& board, boundary_scan_ready ready, void* context, int first_index) {
    int reported = 0;
    while (reported < board.count) {
        std::unique_lock<std::mutex> hold(board.lock);
        if (board.done[reported]) {
            hold.unlock();
            if (!ready(first_index + reported++, context)) {
                std::lock_guard<std::mutex> again(board.lock);
                board.stopped = true;
                break;
            }
        } else if (board.next < board.count) {
            const int i = board.next++;
            hold.unlock();
            run_job(board.jobs[i]);
            finish_job(board, i);
        } else {
            board.changed.wait(hold, [&] { return board.done[reported]; });
        }
    }
    return reported;
}

// One round of at most max_jobs jobs on up to threads threads.
int run_round(const boundary_scan_job* jobs, int count, int threads, boundary_scan_ready ready,
              void* context, int first_index) {
    if (threads > count) threads = count;
    if (threads < 2) return run_in_turn(jobs, count, ready, context, first_index);
    job_board board;
    board.jobs = jobs;
    board.count = count;
    std::thread helpers[max_jobs];
    int started = 0;
    // A thread that cannot be started (the system's limit) leaves its share to the others.
    try {
        for (; started < threads - 1; ++started) helpers[started] = std::thread(worker, &board);
    } catch (const std::system_error&) {}
    const int reported = report_in_order(board, ready, context, first_index);
    for (int t = 0; t < started; ++t) helpers[t].join();
    return reported;
}
#endif

}  // namespace

int boundary_scan_thread_count() {
#if PARAVIB_SCAN_THREADS
    const int hardware = static_cast<int>(std::thread::hardware_concurrency());
    return hardware > 1 ? hardware : 1;
#else
    return 1;
#endif
}

int boundary_scan_jobs(const boundary_scan_job* jobs, int count, int threads,
                       boundary_scan_ready ready, void* context) {
    int reported = 0;
    for (int first = 0; first < count; first += max_jobs) {
        const int round = count - first < max_jobs ? count - first : max_jobs;
#if PARAVIB_SCAN_THREADS
        const int done = run_round(jobs + first, round, threads, ready, context, first);
#else
        (void)threads;
        const int done = run_in_turn(jobs + first, round, ready, context, first);
#endif
        reported += done;
        if (done < round) break;
    }
    return reported;
}

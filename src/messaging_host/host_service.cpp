// The reader, the workers, the picker thread and the writer of the host.
#include "messaging_host/host_service.h"

#include <process.h>

#include <deque>
#include <memory>
#include <vector>

#include "common/unique_resource.h"
#include "messaging_host/message_frames.h"
#include "messaging_host/rpc_messages.h"

namespace {

// Workers that answer requests other than a pick, and the requests that may wait for one: the
// reader stops reading while the queue is full.
const int kWorkers = 4;
const LONG kQueuedRequests = 64;
// Bytes asked of the stream at a time.
const DWORD kReadBytes = 65536;

// Writes each answer whole, one at a time.
class AnswerWriter {
  public:
    explicit AnswerWriter(HANDLE hOutput) : hOutput_(hOutput) {}

    void Write(const std::string& answer) {
        const std::string frame = FrameMessage(answer);
        ScopedLock lock(lock_);
        size_t nDone = 0;
        while (nDone < frame.size()) {
            DWORD dwWritten = 0;
            const DWORD dwAsked = static_cast<DWORD>(frame.size() - nDone);
            if (!WriteFile(hOutput_, frame.data() + nDone, dwAsked, &dwWritten, NULL) ||
                dwWritten == 0) {
                return; // the browser has gone; its end of the input follows
            }
            nDone += dwWritten;
        }
    }

  private:
    HANDLE hOutput_;
    CriticalSection lock_;
};

// The requests between the reader and the workers; an empty method tells a worker to stop.
class RequestQueue {
  public:
    RequestQueue()
        : free_(CreateSemaphoreW(NULL, kQueuedRequests, kQueuedRequests, NULL)),
          queued_(CreateSemaphoreW(NULL, 0, kQueuedRequests, NULL)) {}

    bool Ready() const { return free_ && queued_; }

    void Push(const RpcRequest& request) {
        WaitForSingleObject(free_.get(), INFINITE);
        {
            ScopedLock lock(lock_);
            requests_.push_back(request);
        }
        ReleaseSemaphore(queued_.get(), 1, NULL);
    }

    RpcRequest Pop() {
        WaitForSingleObject(queued_.get(), INFINITE);
        RpcRequest request;
        {
            ScopedLock lock(lock_);
            request = requests_.front();
            requests_.pop_front();
        }
        ReleaseSemaphore(free_.get(), 1, NULL);
        return request;
    }

  private:
    UniqueHandle free_;
    UniqueHandle queued_;
    CriticalSection lock_;
    std::deque<RpcRequest> requests_;
};

struct Service {
    Service(HostOperations& ops, HANDLE hOutput) : operations(ops), writer(hOutput) {}
    HostOperations& operations;
    AnswerWriter writer;
    RequestQueue queue;
    // The thread of the pick in progress, if one is.
    UniqueHandle pickThread;
};

void Answer(Service& service, const RpcRequest& request) {
    service.writer.Write(AnswerRequest(request, service.operations));
}

unsigned __stdcall WorkerThread(void* pContext) {
    Service& service = *static_cast<Service*>(pContext);
    for (;;) {
        const RpcRequest request = service.queue.Pop();
        if (request.method.empty()) {
            return 0;
        }
        Answer(service, request);
    }
}

// A pick on a thread of its own; takes over the request.
struct PickJob {
    Service* pService;
    RpcRequest request;
};

unsigned __stdcall PickThread(void* pContext) {
    const std::unique_ptr<PickJob> job(static_cast<PickJob*>(pContext));
    Answer(*job->pService, job->request);
    return 0;
}

bool ThreadRunning(const UniqueHandle& thread) {
    return thread && WaitForSingleObject(thread.get(), 0) == WAIT_TIMEOUT;
}

// Hands a request to its thread: a pick to a thread of its own while no other pick has one
// (a second is answered by a worker: busy), anything else to the workers.
void Dispatch(Service& service, const RpcRequest& request) {
    if (request.method == "selectApplication" && !ThreadRunning(service.pickThread)) {
        std::unique_ptr<PickJob> job(new PickJob{&service, request});
        const uintptr_t thread = _beginthreadex(NULL, 0, PickThread, job.get(), 0, NULL);
        if (thread != 0) {
            static_cast<void>(job.release()); // the thread owns it now
            service.pickThread.reset(reinterpret_cast<HANDLE>(thread));
            return;
        }
    }
    service.queue.Push(request);
}

void HandleEvent(Service& service, const FrameEvent& event) {
    if (event.kind == FrameEvent::Oversized) {
        service.writer.Write(ErrorAnswer(nullptr, RpcInvalidRequest,
                                         "Invalid request: " + std::to_string(event.length) +
                                             " bytes, over the host's limit of " +
                                             std::to_string(kMaxRequestBytes)));
        return;
    }
    RpcRequest request;
    std::string answer;
    if (!ReadRequest(event.body, request, answer)) {
        service.writer.Write(answer);
        return;
    }
    if (request.method.empty()) {
        service.writer.Write(AnswerRequest(request, service.operations));
        return;
    }
    Dispatch(service, request);
}

} // namespace

void ServeMessages(HANDLE hInput, HANDLE hOutput, HostOperations& operations) {
    Service service(operations, hOutput);
    std::vector<UniqueHandle> vecWorkers;
    for (int i = 0; service.queue.Ready() && i < kWorkers; ++i) {
        const uintptr_t thread = _beginthreadex(NULL, 0, WorkerThread, &service, 0, NULL);
        if (thread != 0) {
            vecWorkers.push_back(UniqueHandle(reinterpret_cast<HANDLE>(thread)));
        }
    }
    if (vecWorkers.empty()) {
        return;
    }
    FrameReader reader;
    std::vector<char> buffer(kReadBytes);
    std::vector<FrameEvent> events;
    for (;;) {
        DWORD dwRead = 0;
        if (!ReadFile(hInput, buffer.data(), kReadBytes, &dwRead, NULL) || dwRead == 0) {
            break; // the browser closed the port; a message it cut off is left unanswered
        }
        events.clear();
        reader.Feed(buffer.data(), dwRead, events);
        for (const FrameEvent& event : events) {
            HandleEvent(service, event);
        }
    }
    for (size_t i = 0; i < vecWorkers.size(); ++i) {
        service.queue.Push(RpcRequest());
    }
    for (const UniqueHandle& worker : vecWorkers) {
        WaitForSingleObject(worker.get(), INFINITE);
    }
    if (ThreadRunning(service.pickThread)) {
        // Nobody reads the pick's answer any more: the dialog goes with the process, which ends
        // before the service that the pick's thread uses.
        ExitProcess(0);
    }
}

#include "state/block_stream.h"
#include <new>
#include <string.h>
#include <utility>

// Wine 8's stream over a global block (CreateStreamOnHGlobal) hands out bytes
// from beyond the block after a seek past its end, and its JPEG decoder seeks
// there on a corrupt picture: the host crashed on a cover whose JPEG start
// marker was followed by noise. This stream bounds every read by the bytes.

namespace {

// The bytes, with the number of streams (the first and its clones) on them.
struct SharedBlock {
    LONG users;
    PictureBuffer bytes;
};

void Leave(SharedBlock* shared)
{
    if (InterlockedDecrement(&shared->users) == 0)
        delete shared;
}

ULONGLONG SizeOf(const SharedBlock* shared)
{
    return static_cast<ULONGLONG>(shared->bytes.length());
}

class BlockStream : public IStream {
public:
    BlockStream(SharedBlock* shared, ULONGLONG position) : references(1), shared(shared), position(position)
    {
        InterlockedIncrement(&shared->users);
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_ISequentialStream) || IsEqualIID(iid, IID_IStream)) {
            *object = static_cast<IStream*>(this);
            AddRef();
            return S_OK;
        }
        *object = NULL;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(InterlockedIncrement(&references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        LONG left = InterlockedDecrement(&references);
        if (left == 0) {
            Leave(shared);
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // Like the stream it replaces, a short read still answers S_OK.
    HRESULT STDMETHODCALLTYPE Read(void* into, ULONG wanted, ULONG* read) override
    {
        ULONG count = 0;
        ULONGLONG size = SizeOf(shared);
        if (position < size) {
            ULONGLONG left = size - position;
            count = wanted < left ? wanted : static_cast<ULONG>(left);
            memcpy(into, shared->bytes.data() + position, count);
        }
        position += count;
        if (read)
            *read = count;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Write(const void*, ULONG, ULONG* written) override
    {
        if (written)
            *written = 0;
        return STG_E_ACCESSDENIED;
    }
    HRESULT STDMETHODCALLTYPE Seek(LARGE_INTEGER move, DWORD origin, ULARGE_INTEGER* newPosition) override
    {
        LONGLONG base;
        if (origin == STREAM_SEEK_SET)
            base = 0;
        else if (origin == STREAM_SEEK_CUR)
            base = static_cast<LONGLONG>(position);
        else if (origin == STREAM_SEEK_END)
            base = static_cast<LONGLONG>(SizeOf(shared));
        else
            return STG_E_INVALIDFUNCTION;
        if (move.QuadPart < -base || move.QuadPart > MAXLONGLONG - base)
            return STG_E_INVALIDFUNCTION;
        position = static_cast<ULONGLONG>(base + move.QuadPart);
        if (newPosition)
            newPosition->QuadPart = position;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSize(ULARGE_INTEGER) override { return STG_E_ACCESSDENIED; }
    HRESULT STDMETHODCALLTYPE CopyTo(IStream* target, ULARGE_INTEGER count, ULARGE_INTEGER* read,
                                     ULARGE_INTEGER* written) override
    {
        ULONGLONG copied = 0, stored = 0;
        HRESULT result = S_OK;
        BYTE chunk[4096];
        while (copied < count.QuadPart && result == S_OK) {
            ULONGLONG wanted = count.QuadPart - copied;
            ULONG got = 0, put = 0;
            Read(chunk, wanted < sizeof chunk ? static_cast<ULONG>(wanted) : sizeof chunk, &got);
            if (got == 0)
                break;
            copied += got;
            result = target->Write(chunk, got, &put);
            stored += put;
        }
        if (read)
            read->QuadPart = copied;
        if (written)
            written->QuadPart = stored;
        return result;
    }
    HRESULT STDMETHODCALLTYPE Commit(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Revert() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD) override
    {
        return STG_E_INVALIDFUNCTION;
    }
    HRESULT STDMETHODCALLTYPE Stat(STATSTG* stat, DWORD) override
    {
        if (!stat)
            return STG_E_INVALIDPOINTER;
        ZeroMemory(stat, sizeof *stat);
        stat->type = STGTY_STREAM;
        stat->cbSize.QuadPart = SizeOf(shared);
        stat->grfMode = STGM_READ;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IStream** clone) override
    {
        if (!clone)
            return STG_E_INVALIDPOINTER;
        *clone = new (std::nothrow) BlockStream(shared, position);
        return *clone ? S_OK : E_OUTOFMEMORY;
    }

private:
    virtual ~BlockStream() = default;

    LONG references;
    SharedBlock* shared;
    ULONGLONG position;
};

}  // namespace

UniqueCom<IStream> CreateBlockStream(PictureBuffer bytes)
{
    SharedBlock* shared = new (std::nothrow) SharedBlock{0, std::move(bytes)};
    if (!shared)
        return UniqueCom<IStream>();
    BlockStream* stream = new (std::nothrow) BlockStream(shared, 0);
    if (!stream)
        delete shared;
    return UniqueCom<IStream>(stream);
}

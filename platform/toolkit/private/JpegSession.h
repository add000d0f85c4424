#pragma once
// A libjpeg decompressor whose failures come back as return values.
//
// libjpeg reports a fatal error by calling error_exit, which must not return.
// Ours longjmps back into whichever guarded call below is running. Those calls
// hold no C++ objects with destructors, so the jump skips only libjpeg's own
// C frames; the C++ caller turns a false result into an exception.

#include <atomic>
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

struct JpegSession {
    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    jpeg_progress_mgr progress;
    // When set and true, the next progress report of libjpeg fails the
    // running call with cancelled set: a decode nobody waits for any more
    // stops within one row of blocks.
    const std::atomic<bool>* cancel;
    bool cancelled;
    bool created;
    int errorCode;  // libjpeg's msg_code of the failure; 0 while none
    int warnings;   // corrupt-data warnings seen (a truncated file gives one)
};

// Each call returns true on success, false when libjpeg failed; errorCode then
// holds libjpeg's message code. libjpeg never prints and never exits.

// Creates the decompressor over data (not copied; must outlive the session).
// libjpeg may take up to cinfo.mem->max_memory_to_use bytes for its buffers
// (768 MiB unless changed before jpegSessionStart); past that it fails
// instead of exhausting the machine. Call jpegSessionDestroy afterwards
// whatever the result.
bool jpegSessionCreate(JpegSession* session, const unsigned char* data, std::size_t size);
// Reads the markers up to the first scan: image size, colour space, and
// the APP1 segments, kept in cinfo.marker_list.
bool jpegSessionReadHeader(JpegSession* session);
// Sets the DCT scaling to scaleNum/8 (1..8) and computes output_width/height.
bool jpegSessionScale(JpegSession* session, int scaleNum);
bool jpegSessionStart(JpegSession* session);
// Reads up to maxLines rows into rows; *linesRead tells how many came.
bool jpegSessionReadLines(JpegSession* session, JSAMPARRAY rows, JDIMENSION maxLines,
                          JDIMENSION* linesRead);
bool jpegSessionFinish(JpegSession* session);
// Releases everything the decompressor holds; safe on any state, and twice.
void jpegSessionDestroy(JpegSession* session);

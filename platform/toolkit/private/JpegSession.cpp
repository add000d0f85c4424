#include "platform/toolkit/private/JpegSession.h"

#include <jerror.h>

#include <cstring>

namespace {

// The memory libjpeg may take for one picture unless told otherwise
// (progressive pictures keep all their coefficients); past it libjpeg fails
// with an error instead of exhausting the machine.
constexpr long kMaxDecoderMemory = 768L * 1024 * 1024;

// Scans of one picture past which decoding fails. A camera or an editor
// writes about ten scans to a progressive picture, and no encoder's script
// comes near a hundred; but each scan, however small the file's share of it,
// makes the decoder walk the whole picture once more, so a crafted file of a
// few hundred kilobytes with tens of thousands of empty scans costs minutes.
// The decoders that face untrusted files stop at a few hundred.
constexpr int kMaxScans = 256;

[[noreturn]] void errorExit(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    std::longjmp(err->jump, 1);
}

void emitMessage(j_common_ptr cinfo, int msgLevel)
{
    // Level -1 is a warning about corrupt data; higher levels are traces.
    if (msgLevel < 0) cinfo->err->num_warnings++;
}

void outputMessage(j_common_ptr) {}

// libjpeg reports progress at least once a row of blocks of every scan it
// reads, so a stop request and a runaway stream of scans are both seen there.
void progressMonitor(j_common_ptr cinfo)
{
    auto* session = static_cast<JpegSession*>(cinfo->client_data);
    if (session->cancel && session->cancel->load(std::memory_order_relaxed)) {
        session->cancelled = true;
        std::longjmp(session->err.jump, 1);
    }
    if (cinfo->is_decompressor &&
        reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > kMaxScans) {
        session->err.pub.msg_code = JERR_EOI_EXPECTED;  // "more than one scan"
        std::longjmp(session->err.jump, 1);
    }
}

void noteFailure(JpegSession* session)
{
    session->errorCode = session->err.pub.msg_code;
    if (session->errorCode == 0) session->errorCode = -1;
}

}  // namespace

bool jpegSessionCreate(JpegSession* session, const unsigned char* data, std::size_t size)
{
    std::memset(session, 0, sizeof *session);
    session->cinfo.err = jpeg_std_error(&session->err.pub);
    session->err.pub.error_exit = errorExit;
    session->err.pub.emit_message = emitMessage;
    session->err.pub.output_message = outputMessage;
    if (setjmp(session->err.jump)) {
        noteFailure(session);
        return false;
    }
    // Destroying a half-created decompressor is safe, so mark it first.
    session->created = true;
    jpeg_create_decompress(&session->cinfo);
    session->cinfo.mem->max_memory_to_use = kMaxDecoderMemory;
    session->cinfo.client_data = session;
    session->progress.progress_monitor = progressMonitor;
    session->cinfo.progress = &session->progress;
    jpeg_mem_src(&session->cinfo, data, static_cast<unsigned long>(size));
    // APP1 segments hold the EXIF block, with the picture's orientation.
    jpeg_save_markers(&session->cinfo, JPEG_APP0 + 1, 0xFFFF);
    return true;
}

bool jpegSessionReadHeader(JpegSession* session)
{
    if (setjmp(session->err.jump)) {
        noteFailure(session);
        return false;
    }
    jpeg_read_header(&session->cinfo, TRUE);
    return true;
}

bool jpegSessionScale(JpegSession* session, int scaleNum)
{
    if (setjmp(session->err.jump)) {
        noteFailure(session);
        return false;
    }
    session->cinfo.scale_num = static_cast<unsigned int>(scaleNum);
    session->cinfo.scale_denom = 8;
    jpeg_calc_output_dimensions(&session->cinfo);
    return true;
}

bool jpegSessionStart(JpegSession* session)
{
    if (setjmp(session->err.jump)) {
        noteFailure(session);
        return false;
    }
    jpeg_start_decompress(&session->cinfo);
    return true;
}

bool jpegSessionReadLines(JpegSession* session, JSAMPARRAY rows, JDIMENSION maxLines,
                          JDIMENSION* linesRead)
{
    *linesRead = 0;
    if (setjmp(session->err.jump)) {
        noteFailure(session);
        return false;
    }
    *linesRead = jpeg_read_scanlines(&session->cinfo, rows, maxLines);
    return true;
}

bool jpegSessionFinish(JpegSession* session)
{
    if (setjmp(session->err.jump)) {
        noteFailure(session);
        return false;
    }
    jpeg_finish_decompress(&session->cinfo);
    session->warnings = static_cast<int>(session->err.pub.num_warnings);
    return true;
}

void jpegSessionDestroy(JpegSession* session)
{
    if (!session->created) return;
    session->created = false;
    // jpeg_destroy only frees memory and cannot fail.
    jpeg_destroy_decompress(&session->cinfo);
}

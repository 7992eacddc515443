#include "PipeAnswer.h"

#include <string>

#include "SystemError.h"
#include "Log.h"

namespace qv {

AnswerResult ReplyChannel::Open(bool logWaitFailure) {
    m_pipe.Reset();
    if (!WaitNamedPipeA(kQueryPipeName, NMPWAIT_USE_DEFAULT_WAIT)) {
        if (logWaitFailure) WriteLog("WaitNamedPipe Error. Reason=%s\n", SystemErrorText().c_str());
        return AnswerResult::kWaitFailed;
    }
    m_pipe.Reset(CreateFileA(kQueryPipeName, GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!m_pipe) {
        WriteLog("CreateFile  Error. Reason=%s\n", SystemErrorText().c_str());
        return AnswerResult::kOpenFailed;
    }
    return AnswerResult::kSent;
}

void ReplyChannel::Write(const void* data, size_t size) {
    if (!m_pipe) return;
    DWORD written = 0;
    WriteFile(m_pipe.Get(), data, static_cast<DWORD>(size), &written, nullptr);
}

void ReplyChannel::Write(const PipeReply& reply) {
    for (const std::string& field : reply.Fields()) Write(field.data(), field.size());
}

AnswerResult SendPipeReply(const PipeReply& reply, bool logWaitFailure) {
    ReplyChannel channel;
    AnswerResult result = channel.Open(logWaitFailure);
    if (result != AnswerResult::kSent) return result;
    channel.Write(reply);
    channel.Close();
    return AnswerResult::kSent;
}

AnswerResult AnswerNumberOfDesktops(int count) {
    // Formatted before the pipe is opened, so the asker's connection is held
    // only for the write itself.
    std::string text = DecimalText(count);
    AnswerResult result = SendPipeReply(TextReply(text.c_str()), true);
    if (result == AnswerResult::kSent) WriteLog("Respons : Number of Desktops=(%s)\n", text.c_str());
    return result;
}

AnswerResult AnswerDesktopName(const char* name) {
    AnswerResult result = SendPipeReply(TextReply(name), true);
    if (result == AnswerResult::kSent) WriteLog("Respons : Desktop Name = (%s)\n", name);
    return result;
}

AnswerResult AnswerCurrentDesktopId(const char* id) {
    AnswerResult result = SendPipeReply(TextReply(id), true);
    if (result == AnswerResult::kSent) WriteLog("Respons : Current DesktopID = (%s)\n", id);
    return result;
}

AnswerResult AnswerInformation(int32_t currentIndex, const std::vector<DesktopRecord>& desktops) {
    AnswerResult result = SendPipeReply(InformationReply(currentIndex, desktops), false);
    if (result == AnswerResult::kSent) WriteLog("Respons : Information OK\n");
    return result;
}

}  // namespace qv

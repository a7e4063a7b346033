// Console: the console queue and the keyboard stack. The queue is last in,
// first out: a caller that gives back several keys gives them back from the
// last to the first. The stack is read in order; keys put back go in front.
// The key notation of b_keys and b_keyfile is parsed here (names through
// t_KeyFromName); an unreadable b_keyfile is a start-up error.
#include <morka/Console.h>
#include <morka/FileMngr.h>
#include <morka/Term.h>
#include <morka/TermKeys.h>
#include <morka/System.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>
#include <unistd.h>

namespace morka {

bool t_bStackShow = false;

namespace {

std::deque<int> s_aStack;

// Longest key name between '<' and '>' worth looking at.
constexpr int MAX_NAME = 16;

}  // namespace

bool CConsole::ConReady() {
    if (!m_aQueue.empty() || !s_aStack.empty()) return true;
    return isatty(STDIN_FILENO) && TermKeyReady();
}

int CConsole::ConGet() {
    if (m_aQueue.empty()) return -1;
    int iKey = m_aQueue.front();
    m_aQueue.pop_front();
    return iKey;
}

void CConsole::ConUnget(int c) { m_aQueue.push_front(c & 0xFF); }
void CConsole::ConUngetW(int iKey) { m_aQueue.push_front(iKey); }
void CConsole::ConClear() { m_aQueue.clear(); }

bool t_StackReady(bool) { return !s_aStack.empty(); }

int t_StackGet() {
    if (s_aStack.empty()) return -1;
    int iKey = s_aStack.front();
    s_aStack.pop_front();
    return iKey;
}

int t_StackPeek() { return s_aStack.empty() ? -1 : s_aStack.front(); }

int t_StackRead(char* pBuffer, int nSize) {
    if (s_aStack.empty()) return -1;
    int n = 0;
    while (!s_aStack.empty()) {
        int iKey = s_aStack.front();
        s_aStack.pop_front();
        if (iKey == 13) break;
        if (iKey >= 32 && iKey <= 255 && n < nSize - 1) pBuffer[n++] = static_cast<char>(iKey);
    }
    if (nSize > 0) pBuffer[n] = '\0';
    return n;
}

void t_StackUnget(int iKey) { s_aStack.push_front(iKey); }
void t_StackClear() { s_aStack.clear(); }

namespace {

// Appends the keys of the notation text [p, pEnd); returns their number.
int s_StackKeys(char const* p, char const* pEnd) {
    int n = 0;
    for (; p < pEnd; ++p) {
        int iKey = static_cast<unsigned char>(*p);
        if (iKey == '\r' || iKey == '\n') {
            if (iKey == '\r' && p + 1 < pEnd && p[1] == '\n') ++p;
            iKey = 13;
        } else if (iKey == '<') {
            char const* pClose = static_cast<char const*>(std::memchr(p + 1, '>', static_cast<std::size_t>(pEnd - p - 1)));
            if (pClose && pClose - p - 1 <= MAX_NAME) {
                int iNamed = t_KeyFromName(p + 1, static_cast<int>(pClose - p - 1));
                if (iNamed >= 0) {
                    iKey = iNamed;
                    p = pClose;
                }
            }
        }
        s_aStack.push_back(iKey);
        ++n;
    }
    return n;
}

}  // namespace

int t_StackKeys(char const* pszKeys) {
    return pszKeys ? s_StackKeys(pszKeys, pszKeys + std::strlen(pszKeys)) : 0;
}

void t_StackInit() {
    s_aStack.clear();
    t_bStackShow = getintenv("b_keyshow", 0) != 0;
    t_StackKeys(std::getenv("b_keys"));
    char const* pszFile = std::getenv("b_keyfile");
    if (!pszFile || !*pszFile) return;
    FILE* pFile = std::fopen(pszFile, "rb");
    if (!pFile) throw errno;
    std::string sText;
    char aBuf[4096];
    std::size_t n;
    while ((n = std::fread(aBuf, 1, sizeof aBuf, pFile)) > 0) sText.append(aBuf, n);
    bool bFailed = std::ferror(pFile) != 0;
    std::fclose(pFile);
    if (bFailed) throw static_cast<int>(EIO);
    s_StackKeys(sText.data(), sText.data() + sText.size());
}

}  // namespace morka

#pragma once

#include <QString>

#include <functional>

class MultipartForm;

// What a workflow that talks to the server sends its requests through: the
// real client of its window, or a stand-in in tests. Every failure, at the
// transport or HTTP level, throws with the text of the general error box.
class HttpTransport {
public:
    virtual ~HttpTransport() = default;

    // The decoded body of the answer to a GET of the address.
    virtual QString get(const QString &address) = 0;
    // Posts the form; the decoded body of the answer.
    virtual QString post(const QString &address, const MultipartForm &form) = 0;

    // The Content-Type line of the next GETs.
    virtual void setRequestContentType(const QString &type) = 0;
    // Called repeatedly while a request waits (the GUI repaints); an empty
    // hook removes it.
    virtual void setWaitHook(std::function<void()> hook) = 0;
};

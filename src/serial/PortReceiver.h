#pragma once

#include <QByteArray>

// What takes a port's received chunks on its read thread, when the composer attaches one: the
// read thread then hands each chunk over directly instead of through the main thread (the
// port's OnRead signal), so that answers can be matched to what was sent without waiting for
// the window.
class IPortReceiver {
public:
    virtual ~IPortReceiver() = default;
    // Called on the read thread, one chunk at a time, in order. May wait (the port then reads
    // nothing meanwhile) until Interrupt.
    virtual void ChunkReceived(const QByteArray& chunk, quint32 errors) = 0;
    // Called by the thread that closes the port: a ChunkReceived that waits, or comes later,
    // must return at once, until Resume.
    virtual void Interrupt() = 0;
    // Called when the port opens, before its read thread starts.
    virtual void Resume() = 0;
};

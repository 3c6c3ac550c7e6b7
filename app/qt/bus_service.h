#pragma once

// The running program on the session bus: the name org.tovrane.Murelin and the object
// /org/tovrane/Murelin with the interface org.tovrane.Murelin1, as dist/org.tovrane.Murelin1.xml
// describes it (the adaptor is made from that file). It only binds: what each call does, when
// the program is busy and when a property changes are the core's (core::Remote).

#include "app/core/remote.h"

#include <QByteArray>
#include <QDBusContext>
#include <QObject>

class TForm1;

namespace qtshell {

class BusService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_PROPERTY(int Count READ count)
    Q_PROPERTY(int CurrentIndex READ currentIndex)
    Q_PROPERTY(QByteArray CurrentPicture READ currentPicture)

public:
    explicit BusService(TForm1 &form, QObject *parent = nullptr);
    ~BusService() override;

    /**
     * Exports the object and takes the name. Without a session bus, or with the name owned by
     * another program, nothing stays exported and false is returned; nothing is said.
     */
    bool publish();

    int count() const;
    int currentIndex() const;
    QByteArray currentPicture() const;

public Q_SLOTS:
    void Next();
    void Prev();
    void LoadCurrent();
    void ShowWindow();

private:
    void call(core::Command command);
    void announce(unsigned changes, const core::PublicState &state);

    core::Remote m_remote;
    bool m_published = false;
};

} // namespace qtshell

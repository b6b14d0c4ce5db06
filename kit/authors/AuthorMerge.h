#pragma once

#include "AuthorAccount.h"

#include <QList>
#include <memory>

class AuthorGroup;
class ModelContext;

// The operations that change persons in the store. Each reads the groups
// fresh, changes the records and saves; fetch errors count as empty results
// and save errors are dropped (the changes stay for the next save).
//
// A person's minimum size: a starred group lives while it has a member, an
// unstarred one while it has two; a group that falls below is deleted.
namespace AuthorMerge {

// Joins the source's person into the target's; the target's main account
// stays main. Returns the group holding both, or null when nothing could be
// joined: the two are one ungrouped account, or one of them has a name that
// no key list can store. Accounts of one person are only saved and refiled.
std::shared_ptr<AuthorGroup> merge(const AuthorAccount &source, const AuthorAccount &into,
                                   ModelContext &context);
// Takes the account out of its person and takes its posts off the boards
// that reached it only through that person.
void split(const AuthorAccount &account, ModelContext &context);
// Starring renews the star time, so the person shows first.
void setStarred(const AuthorAccount &account, bool starred, ModelContext &context);
// The starred persons' main accounts in their new display order.
void reorderStarred(const QList<AuthorAccount> &accounts, ModelContext &context);
// Files into every author-linked board the posts it now reaches.
void refileBoards(ModelContext &context);

} // namespace AuthorMerge

#pragma once

// Clang's thread-safety attributes, so that which lock guards which member, and which function
// expects which lock held, is written in the code and checked by the compiler (`make analyze`
// builds the sound engines and the players with -Wthread-safety). Under other compilers the
// macros expand to nothing.
//
//   CAPABILITY(name)            a class that is a lock (vd::Mutex)
//   SCOPED_CAPABILITY           a class whose object holds a lock for its lifetime (vd::MutexLock)
//   GUARDED_BY(m)               the member is read and written only with m held
//   PT_GUARDED_BY(m)            what the pointer member points at is used only with m held
//   REQUIRES(m...)              the caller holds m
//   EXCLUDES(m...)              the caller does not hold m (the function takes it)
//   ACQUIRE(m...) RELEASE(m...) the function takes or lets go of m (no argument: the object)
//   TRY_ACQUIRE(ok, m...)       takes m when it returns `ok`
//   ASSERT_CAPABILITY(m)        the analysis may take m as held after the call
//   NO_THREAD_SAFETY_ANALYSIS   the function is not checked (say why where it is used)

#if defined(__clang__)
#define VD_THREAD_ANNOTATION(x) __attribute__((x))
#else
#define VD_THREAD_ANNOTATION(x)
#endif

#define CAPABILITY(x) VD_THREAD_ANNOTATION(capability(x))
#define SCOPED_CAPABILITY VD_THREAD_ANNOTATION(scoped_lockable)
#define GUARDED_BY(x) VD_THREAD_ANNOTATION(guarded_by(x))
#define PT_GUARDED_BY(x) VD_THREAD_ANNOTATION(pt_guarded_by(x))
#define REQUIRES(...) VD_THREAD_ANNOTATION(requires_capability(__VA_ARGS__))
#define EXCLUDES(...) VD_THREAD_ANNOTATION(locks_excluded(__VA_ARGS__))
#define ACQUIRE(...) VD_THREAD_ANNOTATION(acquire_capability(__VA_ARGS__))
#define RELEASE(...) VD_THREAD_ANNOTATION(release_capability(__VA_ARGS__))
#define TRY_ACQUIRE(...) VD_THREAD_ANNOTATION(try_acquire_capability(__VA_ARGS__))
#define ASSERT_CAPABILITY(x) VD_THREAD_ANNOTATION(assert_capability(x))
#define NO_THREAD_SAFETY_ANALYSIS VD_THREAD_ANNOTATION(no_thread_safety_analysis)

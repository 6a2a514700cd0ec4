#pragma once

#include <exception>
#include <glib-object.h>
#include <type_traits>
#include <utility>

// Connecting C++ callables to GObject signals. The callable is moved to the heap and freed by
// the connection's GClosureNotify, so its captured state lives exactly as long as the
// connection. Callables must not throw: an exception never unwinds through a toolkit frame.
namespace ombrix::ui {

namespace detail {

template <class F, class R, class... Args> struct Trampoline {
    static R call(Args... args, gpointer data) noexcept {
        auto* callable = static_cast<F*>(data);
        return (*callable)(args...);
    }
    static void destroy(gpointer data, GClosure*) noexcept { delete static_cast<F*>(data); }
};

} // namespace detail

// connect<R(Args...)>(instance, "signal", callable): Args are the signal's parameters
// including the emitting instance first, R its return type.
template <class Signature> struct SignalConnector;

template <class R, class... Args> struct SignalConnector<R(Args...)> {
    template <class F>
    static gulong connect(gpointer instance, const char* signal, F&& callable,
                          GConnectFlags flags = GConnectFlags(0)) {
        using Fn = std::decay_t<F>;
        auto* heap = new Fn(std::forward<F>(callable));
        return g_signal_connect_data(instance, signal,
                                     G_CALLBACK((&detail::Trampoline<Fn, R, Args...>::call)), heap,
                                     &detail::Trampoline<Fn, R, Args...>::destroy, flags);
    }
};

template <class Signature, class F>
gulong connect(gpointer instance, const char* signal, F&& callable,
               GConnectFlags flags = GConnectFlags(0)) {
    return SignalConnector<Signature>::connect(instance, signal, std::forward<F>(callable), flags);
}

} // namespace ombrix::ui

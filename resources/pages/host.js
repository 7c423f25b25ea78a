// The page's side of the bridge: host.<method> forwards to the installer's
// window.external when it offers the method, so pages also run in a plain
// browser, where notify shows its arguments and getLocale answers "en".
var host = (function () {
    var fallbacks = {
        log: function () {},
        notify: function () {
            var text = "notify";
            for (var i = 0; i < arguments.length; i++) {
                text += " " + arguments[i];
            }
            alert(text);
        },
        getLocale: function () { return "en"; },
        setWindowProp: function () {},
        delay: function () {}
    };

    function offers(name) {
        if (typeof window.external === "undefined" || window.external === null) {
            return false;
        }
        try {
            return typeof window.external[name] !== "undefined";
        } catch (e) {
            // The installer's external object answers only method calls:
            // reading a member as a value fails although the method exists.
            return true;
        }
    }

    function forwarder(name) {
        return function () {
            if (!offers(name)) {
                return fallbacks[name].apply(null, arguments);
            }
            var ext = window.external;
            // The control's external methods take no apply; spell out the arity.
            switch (arguments.length) {
            case 0: return ext[name]();
            case 1: return ext[name](arguments[0]);
            case 2: return ext[name](arguments[0], arguments[1]);
            case 3: return ext[name](arguments[0], arguments[1], arguments[2]);
            case 4: return ext[name](arguments[0], arguments[1], arguments[2], arguments[3]);
            default: return ext[name](arguments[0], arguments[1], arguments[2], arguments[3], arguments[4]);
            }
        };
    }

    var self = {};
    var names = ["log", "notify", "getLocale", "setWindowProp", "delay"];
    for (var i = 0; i < names.length; i++) {
        self[names[i]] = forwarder(names[i]);
    }
    return self;
})();

// Page log output goes to the host's log: channel is one of "TRACE",
// "INFO", "WARNING", "ERROR".
function hostLogWriter(channel, message) {
    host.log(channel, message);
}
require("log").setWriter(hostLogWriter);

// A small module library for the pages: require(name) gives one of the
// modules below. Written for the browser control's IE7 mode (ECMAScript 3,
// no array extras), so it also runs in any later browser.
var require = (function () {
    var modules = {};

    modules.Arrays = {
        // Calls fn(item, index) for each item of an array or node list; the
        // XML control's node lists answer item(i) but not [i].
        each: function (list, fn) {
            var byItem = typeof list.item !== "undefined";
            for (var i = 0; i < list.length; i++) {
                fn(byItem ? list.item(i) : list[i], i);
            }
        }
    };

    modules.util = {
        hasOwn: function (object, key) {
            return Object.prototype.hasOwnProperty.call(object, key);
        },
        // Text made safe to place into inner HTML.
        escapeHtml: function (text) {
            return String(text).replace(/&/g, "&amp;").replace(/</g, "&lt;")
                .replace(/>/g, "&gt;").replace(/"/g, "&quot;");
        },
        // "%1", "%2"... replaced by the arguments after the format.
        format: function (format) {
            var args = arguments;
            return String(format).replace(/%(\d)/g, function (all, n) {
                return n < args.length ? String(args[n]) : all;
            });
        },
        // An exception's message, whether a script Error or a host's error.
        errorText: function (e) {
            return String(e && (e.message || e.description) || e);
        },
        now: function () {
            return new Date().getTime();
        }
    };

    modules.Filename = {
        // "res://C:\dir\prog.exe/welcome.html?x" -> "welcome.html"
        leaf: function (path) {
            var parts = modules.Filename.withoutQuery(path).split(/[\/\\]/);
            return parts[parts.length - 1];
        },
        // "welcome.html" -> "welcome"
        stem: function (path) {
            var leaf = modules.Filename.leaf(path);
            var dot = leaf.lastIndexOf(".");
            return dot > 0 ? leaf.substring(0, dot) : leaf;
        },
        // The file name beside path: ".../welcome.html", "a.wxl" -> ".../a.wxl"
        sibling: function (path, name) {
            var clean = modules.Filename.withoutQuery(path);
            return clean.substring(0, clean.length - modules.Filename.leaf(clean).length) + name;
        },
        withoutQuery: function (path) {
            return String(path).split("?")[0].split("#")[0];
        }
    };

    modules.activex = {
        available: function () {
            return typeof ActiveXObject !== "undefined";
        },
        create: function (progId) {
            return new ActiveXObject(progId);
        }
    };

    // Page logger. Until the host's writer is set, records go nowhere.
    var writer = function () {};
    function logAt(channel) {
        return function (message) {
            writer(channel, String(message));
        };
    }
    modules.log = {
        setWriter: function (fn) {
            writer = fn;
        },
        info: logAt("INFO"),
        warning: logAt("WARNING"),
        error: logAt("ERROR"),
        // The host has no fatal channel: fatal records go to ERROR.
        fatal: logAt("ERROR")
    };

    return function (name) {
        if (!Object.prototype.hasOwnProperty.call(modules, name)) {
            throw new Error("no module '" + name + "'");
        }
        return modules[name];
    };
})();

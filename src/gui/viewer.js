// Runs in the application world of every page the viewer shows (page scripts are off).
// It reports what the user does to the C++ side and restores the state of a page.
(function () {
    'use strict';

    var bridge = null;
    var queue = [];

    // Messages sent before the channel is up are kept, so their order is never lost.
    function send(name, args) {
        if (bridge) {
            bridge[name].apply(bridge, args);
        } else {
            queue.push([name, args]);
        }
    }

    new QWebChannel(qt.webChannelTransport, function (channel) {
        bridge = channel.objects.bridge;
        var pending = queue;
        queue = [];
        pending.forEach(function (m) {
            bridge[m[0]].apply(bridge, m[1]);
        });
    });

    function radioInputs() {
        return Array.prototype.slice.call(document.querySelectorAll('input[type=radio]'));
    }

    function checkedRadios() {
        return radioInputs()
            .filter(function (r) {
                return r.checked;
            })
            .map(function (r) {
                return r.name + '=' + r.value;
            });
    }

    function reportScroll() {
        send('scrolled', [window.scrollX, window.scrollY]);
    }

    function reportRadios() {
        send('radiosChanged', [checkedRadios()]);
    }

    // The state goes out before a click or submission, so the entry being left keeps it.
    function reportState() {
        reportScroll();
        reportRadios();
    }

    function scrollToAnchor(name) {
        var target = document.getElementById(name) || document.getElementsByName(name)[0];
        if (target) {
            target.scrollIntoView();
        } else if (name.toLowerCase() === 'top') {
            window.scrollTo(0, 0);
        }
    }

    window.addEventListener('scroll', reportScroll, true);

    document.addEventListener('change', function (e) {
        if (e.target && e.target.type === 'radio') {
            reportRadios();
        }
    }, true);

    document.addEventListener('click', function (e) {
        var a = e.target && e.target.closest ? e.target.closest('a[href]') : null;
        if (!a) {
            return;
        }
        e.preventDefault();
        reportState();
        send('clicked', [a.getAttribute('href')]);
    }, true);

    // A middle click would otherwise try to open the link in a new window.
    document.addEventListener('auxclick', function (e) {
        if (e.target && e.target.closest && e.target.closest('a[href]')) {
            e.preventDefault();
        }
    }, true);

    // A sheet is evaluated once: Enter in it never submits it (the browser would submit
    // the form from any of its fields); Ctrl+Enter does, anywhere on the page.
    function isSheet(form) {
        return !!form && /^vexaa/i.test(form.getAttribute('action') || '');
    }

    document.addEventListener('keydown', function (e) {
        if (e.key !== 'Enter' || e.altKey || e.shiftKey || e.metaKey) {
            return;
        }
        var focused = e.target && e.target.form ? e.target.form : null;
        if (!e.ctrlKey) {
            if (isSheet(focused)) {
                e.preventDefault();
            }
            return;
        }
        var forms = Array.prototype.filter.call(document.forms, isSheet);
        var form = isSheet(focused) ? focused : (forms.length === 1 ? forms[0] : null);
        if (!form) {
            return;
        }
        e.preventDefault();
        var button = form.querySelector('[type=submit]');
        if (form.requestSubmit) {
            form.requestSubmit(button || undefined);
        } else if (button) {
            button.click();
        }
    }, true);

    document.addEventListener('submit', function (e) {
        var form = e.target;
        e.preventDefault();
        var data;
        try {
            data = e.submitter ? new FormData(form, e.submitter) : new FormData(form);
        } catch (err) {
            data = new FormData(form);
        }
        var lines = [];
        data.forEach(function (value, name) {
            lines.push(name + '=' + (typeof value === 'string' ? value : value.name));
        });
        reportState();
        send('submitted', [form.getAttribute('action') || '', lines]);
    }, true);

    var lastHref = '';
    var lastTitle = '';

    function hover(href, title) {
        if (href !== lastHref || title !== lastTitle) {
            lastHref = href;
            lastTitle = title;
            send('hovered', [href, title]);
        }
    }

    document.addEventListener('mouseover', function (e) {
        var t = e.target;
        if (!t || !t.closest) {
            hover('', '');
            return;
        }
        var a = t.closest('a[href]');
        var titled = t.closest('a[title], img[title]');
        hover(a ? a.getAttribute('href') : '', titled ? titled.getAttribute('title') : '');
    }, true);

    document.addEventListener('mouseout', function (e) {
        if (!e.relatedTarget) {
            hover('', '');
        }
    }, true);

    document.addEventListener('DOMContentLoaded', function () {
        var style = document.createElement('style');
        style.textContent = 'html{overflow-x:hidden}';
        (document.head || document.documentElement).appendChild(style);
    }, true);

    // Called by the viewer once a load finished: radios (null keeps the page's own),
    // then the anchor or the scroll position; returns the text of the title element.
    window.vexaSettle = function (anchor, hasPosition, x, y, radios) {
        if (radios !== null) {
            var wanted = {};
            radios.forEach(function (line) {
                wanted[line] = true;
            });
            radioInputs().forEach(function (r) {
                r.checked = wanted.hasOwnProperty(r.name + '=' + r.value);
            });
        }
        if (anchor) {
            scrollToAnchor(anchor);
        } else if (hasPosition) {
            window.scrollTo(x, y);
        }
        reportState();
        var title = document.querySelector('title');
        return title ? title.textContent : '';
    };

    window.vexaState = function () {
        return {x: window.scrollX, y: window.scrollY, radios: checkedRadios()};
    };

    window.vexaScrollToAnchor = function (anchor) {
        scrollToAnchor(anchor);
        reportScroll();
    };
})();
